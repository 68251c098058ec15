#pragma once
// What the other stand-ins need to know of a window: its SDL window, and the thread that owns it.
#include <SDL.h>

#include "platform/win32/Win32Types.h"

// The SDL window behind a local window, or null.
SDL_Window* Win32GetSdlWindow(HWND window);
// Makes sure SDL's video subsystem runs; false when no video driver can start.
bool Win32EnsureSdlVideo();
