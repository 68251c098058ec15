#pragma once
#include "platform/win32/Win32.h"

// The test program's plain window (64x64, default window procedure), for what wants one to
// belong to: cooperative levels, key and focus messages, the game's main window. Made on first
// use and kept to the end of the program.
HWND TestWindow();
