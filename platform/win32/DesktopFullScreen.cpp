// The desktop's own full-screen state for a window: on X11 the window manager's (the window is
// marked full screen, panels give way, the frame goes), on Wayland the compositor's, which
// alone decides where a window is shown.
#include <SDL.h>

#include "platform/win32/Win32Sdl.h"
#include "platform/win32/WindowRecord.h"
#include "platform/win32/X11WindowManager.h"

namespace {

bool IsDriver(const char* name)
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && SDL_strcmp(driver, name) == 0;
}

}  // namespace

bool Win32EnterDesktopFullScreen(HWND window)
{
    SDL_Window* sdl = Win32GetSdlWindow(window);
    if (!sdl || !win32::OnVideoThread()) {
        return false;
    }
    if (IsDriver("x11")) {
        X11WindowManager* manager = X11WindowManager::Of(sdl);
        if (!manager || !manager->OffersFullScreen()) {
            return false;  // nobody there to carry the request out
        }
        manager->SetFullScreen(sdl, true);
        return true;
    }
    if (IsDriver("wayland")) {
        // SDL's Wayland driver waits for the compositor's answer (a round trip) itself; the
        // events that tell it are read here.
        SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_PumpEvents();
        return true;
    }
    return false;
}

void Win32LeaveDesktopFullScreen(HWND window)
{
    SDL_Window* sdl = Win32GetSdlWindow(window);
    if (!sdl || !win32::OnVideoThread()) {
        return;
    }
    X11WindowManager* manager = IsDriver("x11") ? X11WindowManager::Of(sdl) : nullptr;
    if (manager) {
        manager->SetFullScreen(sdl, false);
    } else {
        SDL_SetWindowFullscreen(sdl, 0);
        SDL_PumpEvents();
    }
}
