// What the window calls do for a window whose surface another toolkit owns: they go to the
// toolkit's callbacks.
#include "platform/win32/Win32HostedWindow.h"
#include "platform/win32/WindowRecord.h"

namespace win32 {

BOOL ShowHostedWindow(HWND window, int command)
{
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    const Win32HostCallbacks& host = *window->host;
    auto call = [](const std::function<void()>& f) {
        if (f) {
            f();
        }
    };
    switch (command) {
    case SW_HIDE:
        call(host.hide);
        window->visible = false;
        window->style &= ~WS_VISIBLE;
        Deactivate(window, false);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        call(host.minimize);
        window->visible = true;
        window->iconic = true;
        window->style |= WS_VISIBLE | WS_MINIMIZE;
        PublishWindow(window);
        Deactivate(window, true);
        break;
    case SW_RESTORE:
        call(host.restore);
        window->visible = true;
        window->iconic = false;
        window->style = (window->style | WS_VISIBLE) & ~WS_MINIMIZE;
        PublishWindow(window);
        Activate(window);
        break;
    default:
        call(host.show);
        window->visible = true;
        window->style |= WS_VISIBLE;
        Activate(window);
        break;
    }
    return wasVisible;
}

BOOL RaiseHostedWindow(HWND window)
{
    if (window->host->raise) {
        window->host->raise();
    }
    Activate(window);
    return TRUE;
}

BOOL HostedClientRect(HWND window, RECT* rect)
{
    *rect = window->host->clientRect ? window->host->clientRect() : RECT{0, 0, 0, 0};
    return TRUE;
}

}  // namespace win32
