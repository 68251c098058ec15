#include <algorithm>
#include <memory>

#include "platform/win32/Win32HostedWindow.h"
#include "platform/win32/WindowRecord.h"

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
