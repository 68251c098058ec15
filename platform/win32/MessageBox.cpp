#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <mutex>

#include "platform/win32/MessageBoxProgram.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Sdl.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

std::mutex g_hookMutex;
MessageBoxHook g_hook;

// The X window behind a local window, for the box to stay above it; 0 for none or off X11.
unsigned long OwnerXWindow(HWND owner)
{
    SDL_Window* window = Win32GetSdlWindow(owner);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return 0;
    }
    return static_cast<unsigned long>(info.info.x11.window);
}

}  // namespace

void Win32SetMessageBoxHook(MessageBoxHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_hook = std::move(hook);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    MessageBoxHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_hook;
    }
    std::string t = text ? text : "";
    std::string c = caption ? caption : "";
    if (hook) {
        return hook(owner, t, c, type);
    }
    // The box blocks the calling thread until it is closed, as the platform's does. First the
    // box program beside the game, which draws the Japanese texts in a Japanese font and wraps
    // them to the screen; then SDL's own box; and where neither finds a display, standard error.
    DWORD lastError = GetLastError();
    bool shown = MessageBoxProgram::BesideModule().Show(c, t, OwnerXWindow(owner));
    SetLastError(lastError);
    if (shown) {
        return IDOK;
    }
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (type & MB_ICONERROR) {
        flags = SDL_MESSAGEBOX_ERROR;
    } else if ((type & MB_ICONWARNING) == MB_ICONWARNING) {
        flags = SDL_MESSAGEBOX_WARNING;
    }
    if (SDL_ShowSimpleMessageBox(flags, c.c_str(), t.c_str(), Win32GetSdlWindow(owner)) != 0) {
        // No display to show it on: the message still reaches the user.
        std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    }
    return IDOK;
}
