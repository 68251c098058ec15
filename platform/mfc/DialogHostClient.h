#pragma once
// What the host of a running dialog calls back into: the dialog it shows. The host knows the
// dialog only through this, so that the dialog's class can build on the host and not the other
// way round.
#include "platform/win32/Win32Window.h"

class DialogHostClient {
public:
    // The procedure that every message of the dialog window goes to.
    virtual WNDPROC WindowProcedure() const = 0;
    // Once the dialog is shown and its modal loop runs, before it handles any input.
    virtual void OnModalLoopStarted() = 0;

protected:
    ~DialogHostClient() = default;
};
