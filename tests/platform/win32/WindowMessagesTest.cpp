#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

std::vector<std::string> g_calls;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        g_calls.push_back(LOWORD(wParam) ? "activate" : "deactivate");
        break;
    case WM_CLOSE:
        g_calls.push_back("close");
        break;
    case WM_DESTROY:
        g_calls.push_back("destroy");
        PostQuitMessage(0);
        break;
    case WM_KEYDOWN:
        g_calls.push_back("keydown " + std::to_string(wParam));
        break;
    case WM_KEYUP:
        g_calls.push_back("keyup " + std::to_string(wParam));
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowMessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "RecordingWindow";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "recordingwindow", "t", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                 640, 480, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr) << "class names ignore case";
    }
    void TearDown() override
    {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        Drain();
    }
    // Takes and dispatches every waiting message; returns whether WM_QUIT came.
    bool Drain()
    {
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return quit;
    }

    HWND window = nullptr;
};

TEST_F(WindowMessagesTest, KeyStateFollowsTheMessagesTakenFromTheQueue)
{
    Win32InjectKey(window, VK_LEFT, true);
    EXPECT_FALSE(GetKeyState(VK_LEFT) & 0x80) << "not down until its message is taken";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(GetKeyState(VK_LEFT) & 0x80) << "a peek without removal changes nothing";
    Drain();
    EXPECT_TRUE(GetKeyState(VK_LEFT) & 0x80);
    EXPECT_TRUE(GetKeyState(VK_LEFT) < 0) << "the high bit of the short";
    Win32InjectKey(window, VK_LEFT, false);
    Drain();
    EXPECT_FALSE(GetKeyState(VK_LEFT) & 0x80);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"keydown 37", "keyup 37"}));
}

TEST_F(WindowMessagesTest, ShowingActivatesAndFocusChangesAreSent)
{
    ShowWindow(window, SW_SHOWNORMAL);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"activate"}));
    Win32InjectActivate(window, false);
    Win32InjectActivate(window, true);
    Drain();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"activate", "deactivate", "activate"}));
}

TEST_F(WindowMessagesTest, CloseButtonDestroysThroughDefWindowProcAndQuitComesLast)
{
    PostMessageA(window, WM_USER, 0, 0);
    Win32InjectClose(window);
    MSG msg;
    std::vector<UINT> order;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message != WM_QUIT) {
            DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(g_calls, (std::vector<std::string>{"close", "destroy"}));
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_QUIT}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(WindowMessagesTest, WindowIsSizedFromItsOuterRectangle)
{
    RECT outer, client;
    ASSERT_TRUE(GetWindowRect(window, &outer));
    ASSERT_TRUE(GetClientRect(window, &client));
    int width = (outer.right - outer.left) + 640 - client.right;
    int height = (outer.bottom - outer.top) + 480 - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_EQ(static_cast<DWORD>(SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP))) & WS_CAPTION,
              WS_CAPTION);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_CAPTION, 0u);
}

TEST_F(WindowMessagesTest, PropertiesIgnoreCase)
{
    EXPECT_EQ(GetPropA(window, "Mark"), nullptr);
    SetPropA(window, "Mark", reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetPropA(window, "MARK"), reinterpret_cast<HANDLE>(7));
}

TEST(StringTableTest, LoadsRegisteredStringsAndCutsWholeCharacters)
{
    static const Win32StringResource table[] = {{500, "abc"}, {501, "タイム"}};
    Win32RegisterStringTable(table, 2);
    char buffer[8];
    EXPECT_EQ(LoadStringA(nullptr, 500, buffer, 8), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(LoadStringA(nullptr, 501, buffer, 8), 6);  // the third 3-byte character does not fit
    EXPECT_STREQ(buffer, "タイ");
    EXPECT_EQ(LoadStringA(nullptr, 999, buffer, 8), 0);
}

}  // namespace
