#pragma once
#include <string>

#include "tests/support/ChildProcess.h"

// An Xvfb with one screen of the given size, on a display number it finds free itself, while the
// object lives (and never beyond the process that made it). The process's own DISPLAY is left as
// it is: Name() is the display to open.
class XvfbServer {
public:
    XvfbServer(int width, int height);

    // False when the server did not start.
    bool Ready() const { return !name_.empty(); }
    // ":<number>"; empty when not ready.
    const std::string& Name() const { return name_; }

private:
    ChildProcess server_;
    std::string name_;
};
