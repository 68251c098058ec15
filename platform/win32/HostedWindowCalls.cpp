// What the window calls do for a window whose surface another toolkit owns: they go to the
// toolkit's callbacks.
#include "platform/win32/Win32HostedWindow.h"
#include "platform/win32/WindowRecord.h"

namespace win32 {

void ShowHostedWindow(HWND window, int command)
{
    const Win32HostCallbacks& host = *window->host;
    const std::function<void()>* call = &host.show;
    switch (command) {
    case SW_HIDE:
        call = &host.hide;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        call = &host.minimize;
        break;
    case SW_RESTORE:
        call = &host.restore;
        break;
    default:
        break;
    }
    if (*call) {
        (*call)();
    }
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
