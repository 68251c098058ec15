#pragma once
// Everything of the window system and kernel services that the program calls.
#include "platform/win32/Win32Types.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32File.h"
#include "platform/win32/Win32Time.h"
#include "platform/win32/CRuntime.h"
