// Message boxes as a person meets them on a desktop: on an X server with a window manager, each
// box lies wholly on the screen, says the message (read back from the box's label), and Return
// or Escape closes it, after which MessageBoxA returns IDOK to the thread that waited.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/msgbox/MessageBoxProperty.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/support/ManagedDisplay.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/ScreenPng.h"

namespace {

using namespace std::chrono_literals;

const char kCaption[] = "エラー";
const std::string kLoadFailed = "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。";

struct Message {
    const char* what;
    std::string text;
};

std::vector<Message> Messages()
{
    std::string many;
    for (int i = 0; i < 60; ++i) {
        many += kLoadFailed;
    }
    return {
        {"a file that did not load", kLoadFailed + " : img/shot.bmp"},
        {"no sound device", "GameInitに失敗しました。 : err_code=-9"},
        {"a result code", "デバイスの復元に失敗しました。 : err_code=-2005530516"},
        {"a name as long as the reporter keeps", kLoadFailed + " : img/WWWWWWWWWWWWWWWWWWWWWWWWWWW"},
        {"a word far wider than the screen", "img/" + std::string(300, 'W') + ".bmp"},
        {"far more text than the screen holds", many},
    };
}

// Dark pixels (text) inside a rectangle of the screen.
int InkIn(const ScreenCapture& screen, const ManagedDisplay::Rect& r)
{
    int ink = 0;
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, screen.height); ++y) {
        for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, screen.width); ++x) {
            std::uint32_t c = screen.At(x, y);
            int luminance = ((c >> 16 & 255) * 299 + (c >> 8 & 255) * 587 + (c & 255) * 114) / 1000;
            ink += luminance < 110;
        }
    }
    return ink;
}

// The screen once the box has drawn its text (or after five seconds).
ScreenCapture DrawnScreen(const ManagedDisplay::Rect& box)
{
    ScreenCapture screen;
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(50ms);
        screen = ScreenCapture::Take();
        if (screen.width > 0 && InkIn(screen, box) > 50) {
            break;
        }
    }
    return screen;
}

bool WaitUntilGone(const ManagedDisplay& display, unsigned long window)
{
    for (int i = 0; i < 250; ++i) {
        std::vector<unsigned long> clients = display.WindowsNamed(kCaption);
        if (std::find(clients.begin(), clients.end(), window) == clients.end()) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// MessageBoxA on a thread of its own; the future gets its result. The thread is left to itself, so
// that a box that never closes fails the test instead of hanging it.
std::future<int> ShowBox(const std::string& text)
{
    auto result = std::make_shared<std::promise<int>>();
    std::future<int> future = result->get_future();
    std::thread([text, result] { result->set_value(MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK)); }).detach();
    return future;
}

class MessageBoxOnDisplayTest : public testing::TestWithParam<std::pair<int, int>> {
protected:
    void SetUp() override
    {
        // The box program is looked for beside the module: the program folder's.
        Win32SetModuleFileName(std::string(MESSAGE_BOX_FOLDER) + "/brackle");
    }
    void TearDown() override { Win32SetModuleFileName(""); }
};

TEST_P(MessageBoxOnDisplayTest, EachBoxLiesOnTheScreenSaysItsMessageAndClosesWithReturnOrEscape)
{
    std::future<int> result;
    ManagedDisplay display(GetParam().first, GetParam().second);
    ASSERT_TRUE(display.Ready());
    std::vector<Message> messages = Messages();
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const Message& m = messages[i];
        SCOPED_TRACE(m.what);
        result = ShowBox(m.text);
        std::vector<unsigned long> boxes = display.WaitForWindowsNamed(kCaption, 1, 15000);
        ASSERT_EQ(boxes.size(), 1u) << "one box appears";
        unsigned long box = boxes[0];

        ManagedDisplay::Rect outer = display.OuterRect(box);
        EXPECT_TRUE(outer.Inside(display.Screen()))
            << "the box, " << outer.Describe() << ", lies on the " << display.Screen().Describe() << " screen";
        EXPECT_EQ(display.TextProperty(box, kMessageBoxTextProperty), m.text)
            << "the box's label holds the message";
        ScreenCapture screen = DrawnScreen(outer);
        EXPECT_GT(InkIn(screen, outer), 50) << "the box shows its text";
        SaveScreenPng(screen, std::string(TEST_OUTPUT_DIR) + "/message-box-" + std::to_string(display.Screen().width) +
                            "x" + std::to_string(display.Screen().height) + "-" + std::to_string(i) + ".png");

        const char* key = i % 2 ? "Escape" : "Return";
        ASSERT_TRUE(display.PressKey(box, key)) << key;
        ASSERT_EQ(result.wait_for(10s), std::future_status::ready) << key << " closes the box";
        EXPECT_EQ(result.get(), IDOK);
        EXPECT_TRUE(WaitUntilGone(display, box));
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, MessageBoxOnDisplayTest,
                         testing::Values(std::make_pair(1024, 768), std::make_pair(640, 480)),
                         [](const auto& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

// Two threads report at once (the loader and the music thread, say): two boxes, each with its
// own text, each closing on its own and releasing its own thread.
TEST(MessageBoxTwoThreadsTest, TwoBoxesAtOnceEachSayTheirTextAndReleaseTheirThread)
{
    Win32SetModuleFileName(std::string(MESSAGE_BOX_FOLDER) + "/brackle");
    ManagedDisplay display(1024, 768);
    std::future<int> first, second;
    ASSERT_TRUE(display.Ready());
    const std::string a = kLoadFailed + " : wav/shot.wav";
    const std::string b = "MIDI の読み込みに失敗しました。 : err_code=-2147024894";
    first = ShowBox(a);
    second = ShowBox(b);
    std::vector<unsigned long> boxes = display.WaitForWindowsNamed(kCaption, 2, 15000);
    ASSERT_EQ(boxes.size(), 2u);
    std::set<std::string> texts;
    for (unsigned long box : boxes) {
        texts.insert(display.TextProperty(box, kMessageBoxTextProperty));
        EXPECT_TRUE(display.OuterRect(box).Inside(display.Screen())) << display.OuterRect(box).Describe();
    }
    EXPECT_EQ(texts, (std::set<std::string>{a, b}));

    // Closing one leaves the other up and its thread waiting.
    std::string closedText = display.TextProperty(boxes[1], kMessageBoxTextProperty);
    std::future<int>& closed = closedText == a ? first : second;
    std::future<int>& open = closedText == a ? second : first;
    ASSERT_TRUE(display.PressKey(boxes[1], "Escape"));
    ASSERT_EQ(closed.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(closed.get(), IDOK);
    EXPECT_TRUE(WaitUntilGone(display, boxes[1]));
    EXPECT_EQ(display.WindowsNamed(kCaption), std::vector<unsigned long>{boxes[0]});
    EXPECT_EQ(open.wait_for(0s), std::future_status::timeout);

    ASSERT_TRUE(display.PressKey(boxes[0], "Return"));
    ASSERT_EQ(open.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(open.get(), IDOK);
    Win32SetModuleFileName("");
}

}  // namespace
