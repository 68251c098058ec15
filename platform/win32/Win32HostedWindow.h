#pragma once
// Windows whose surface another toolkit owns (dialogs drawn by GTK). The window layer keeps their
// record, properties and cross-process publication; showing, raising and sizing go to the host.
#include <functional>

#include "platform/win32/Win32Window.h"

struct Win32HostCallbacks {
    std::function<void()> show;      // show as it is
    std::function<void()> hide;
    std::function<void()> restore;   // show de-iconified
    std::function<void()> minimize;
    std::function<void()> raise;     // bring to the front with the focus
    std::function<RECT()> clientRect;
};

// A window record driven by the host. A child (a control) is never enumerated or published.
HWND Win32CreateHostedWindow(WNDPROC proc, const char* title, bool child, Win32HostCallbacks callbacks);
// Ends a hosted window: WM_DESTROY for a top-level one, and the handle reads as "no window" after.
void Win32DestroyHostedWindow(HWND window);
// The host reports that the user iconified or restored the window.
void Win32SetHostedIconic(HWND window, bool iconic);
// Serves the requests of other processes (restore, raise) to this process's windows; for hosts
// that run their own event loop instead of PeekMessageA.
void Win32PollRemoteRequests();
