#pragma once
// What the other stand-ins need to know of a window: its SDL window, and the thread that owns it.
#include <SDL.h>

#include "platform/win32/Win32Types.h"

// The SDL window behind a local window, or null.
SDL_Window* Win32GetSdlWindow(HWND window);
// Makes sure SDL's video subsystem runs; false when no video driver can start.
bool Win32EnsureSdlVideo();
// Puts the window into the desktop's own full-screen state (the window manager or compositor
// shows it over the whole output and knows it is full screen), and waits a bounded while for
// that to be done. False when the desktop has no such state (an X server without a window
// manager): the caller then covers the screen with the window itself.
bool Win32EnterDesktopFullScreen(HWND window);
// Takes it out of that state again, back to the place, size and frame the window had before.
void Win32LeaveDesktopFullScreen(HWND window);
