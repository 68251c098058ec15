#include <atomic>

#include "platform/win32/Win32Clock.h"
#include "platform/winmm/WinMM.h"

namespace {
std::atomic<int> g_periodRequests{0};
}  // namespace

MMRESULT timeBeginPeriod(UINT period)
{
    // Host sleeps and the steady clock already have millisecond resolution; the requests are
    // still counted so that each begin is matched by its end.
    if (period == 0) {
        return TIMERR_NOCANDO;
    }
    ++g_periodRequests;
    return TIMERR_NOERROR;
}

MMRESULT timeEndPeriod(UINT period)
{
    if (period == 0 || g_periodRequests.load() <= 0) {
        return TIMERR_NOCANDO;
    }
    --g_periodRequests;
    return TIMERR_NOERROR;
}

DWORD timeGetTime()
{
    return CurrentClock().NowMs();
}
