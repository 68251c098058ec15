#include "platform/win32/WindowRecord.h"

#include <SDL.h>

#include <deque>

namespace win32 {

namespace {

HWND g_activeWindow = nullptr;

}  // namespace

std::recursive_mutex& WindowMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

HWND NewWindowRecord()
{
    // Never destroyed, and a deque so that a record never moves: a destroyed window's handle
    // stays readable as "no window".
    static std::deque<Win32Window>& records = *new std::deque<Win32Window>;
    std::lock_guard lock(WindowMutex());
    return &records.emplace_back();
}

std::vector<HWND>& LocalWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

HWND FindBySdlId(std::uint32_t sdlWindowId)
{
    std::lock_guard lock(WindowMutex());
    for (HWND w : LocalWindows()) {
        if (w->sdl && SDL_GetWindowID(w->sdl) == sdlWindowId) {
            return w;
        }
    }
    return nullptr;
}

HWND Local(HWND window)
{
    if (!window || window->remote || window->destroyed) {
        return nullptr;
    }
    return window;
}

HWND ActiveWindow()
{
    return g_activeWindow;
}

void Activate(HWND window)
{
    if (!Local(window) || g_activeWindow == window) {
        return;
    }
    HWND previous = g_activeWindow;
    if (previous && !previous->destroyed && previous->proc) {
        previous->proc(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    }
    g_activeWindow = window;
    if (window->proc) {
        window->proc(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

void Deactivate(HWND window, bool minimized)
{
    if (!Local(window) || g_activeWindow != window) {
        return;
    }
    g_activeWindow = nullptr;
    if (window->proc) {
        WPARAM w = WA_INACTIVE | (minimized ? (1u << 16) : 0u);
        window->proc(window, WM_ACTIVATE, w, 0);
    }
}

}  // namespace win32
