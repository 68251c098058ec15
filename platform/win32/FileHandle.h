#pragma once
// Internal to the window layer: lets CloseHandle close the handles of files.
#include "platform/win32/Win32Types.h"

// Closes the handle when it is a file's; false when it is not one.
bool Win32CloseFileHandle(HANDLE handle);
