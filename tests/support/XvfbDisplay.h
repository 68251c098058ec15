#pragma once
#include <string>

// Gives the test process an X display: the one in DISPLAY when set, otherwise a private Xvfb
// started on a free display number and stopped when the process exits.
class XvfbDisplay {
public:
    // Returns false when no display can be had.
    static bool Ensure();
    // A private Xvfb whatever DISPLAY says (one that a test may start a window manager on),
    // made the process's DISPLAY.
    static bool EnsurePrivate();
    static std::string Name();
};
