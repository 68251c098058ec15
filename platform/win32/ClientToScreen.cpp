#include <SDL.h>

#include "platform/win32/WindowRecord.h"

// SDL places windows by their client area, so the client origin is the window's position.
BOOL ClientToScreen(HWND window, POINT* point)
{
    if (!point || !window || window->remote || !window->sdl) {
        return FALSE;
    }
    std::lock_guard lock(win32::WindowMutex());
    int x = 0, y = 0;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    point->x += x;
    point->y += y;
    return TRUE;
}
