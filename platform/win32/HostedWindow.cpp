#include <algorithm>
#include <memory>

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

using namespace win32;

HWND Win32CreateHostedWindow(WNDPROC proc, const char* title, bool child, Win32HostCallbacks callbacks)
{
    HWND window = NewWindowRecord();
    window->proc = proc;
    window->host = std::make_shared<Win32HostCallbacks>(std::move(callbacks));
    window->child = child;
    window->title = title ? title : "";
    window->owner = std::this_thread::get_id();
    if (!child) {
        static std::uint32_t nextHostedId = 0x40000000u;  // apart from the SDL windows' ids
        std::lock_guard lock(WindowMutex());
        window->id = nextHostedId++;
        LocalWindows().push_back(window);
    }
    return window;
}

void Win32DestroyHostedWindow(HWND window)
{
    if (!window || window->remote || window->destroyed || !window->host) {
        return;
    }
    if (!window->child) {
        DestroyWindow(window);
        return;
    }
    std::lock_guard lock(WindowMutex());
    window->destroyed = true;  // the record stays allocated, like every destroyed window's
}

void Win32SetHostedIconic(HWND window, bool iconic)
{
    if (!window || window->remote || window->destroyed || !window->host || window->iconic == iconic) {
        return;
    }
    std::lock_guard lock(WindowMutex());
    window->iconic = iconic;
    if (iconic) {
        window->style |= WS_MINIMIZE;
    } else {
        window->style &= ~WS_MINIMIZE;
    }
    PublishWindow(window);
}
