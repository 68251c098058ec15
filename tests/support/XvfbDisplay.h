#pragma once
#include <string>

// Gives the test process an X display: the one in DISPLAY when set, otherwise a private Xvfb
// started on a free display number and stopped when the process exits.
class XvfbDisplay {
public:
    // Returns false when no display can be had.
    static bool Ensure();
    static std::string Name();
};
