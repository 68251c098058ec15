#pragma once
// The multimedia timer. Its clock is the window layer's (a virtual one in tests).
#include "platform/win32/Win32Types.h"

using MMRESULT = UINT;
constexpr MMRESULT TIMERR_NOERROR = 0;
constexpr MMRESULT TIMERR_NOCANDO = 97;

MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
DWORD timeGetTime();
