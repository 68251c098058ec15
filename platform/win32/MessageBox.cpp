#include <SDL.h>

#include <cstdio>
#include <mutex>

#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Sdl.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

std::mutex g_hookMutex;
MessageBoxHook g_hook;

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
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if (type & MB_ICONERROR) {
        flags = SDL_MESSAGEBOX_ERROR;
    } else if ((type & MB_ICONWARNING) == MB_ICONWARNING) {
        flags = SDL_MESSAGEBOX_WARNING;
    }
    // The box blocks the calling thread until it is closed, as the platform's does.
    if (SDL_ShowSimpleMessageBox(flags, c.c_str(), t.c_str(), Win32GetSdlWindow(owner)) != 0) {
        // No display to show it on: the message still reaches the user.
        std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    }
    return IDOK;
}
