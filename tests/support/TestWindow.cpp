#include "tests/support/TestWindow.h"

HWND TestWindow()
{
    static HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "TestWindow";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "TestWindow", "test", WS_CAPTION, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    }();
    return window;
}
