#pragma once
// A private X server for tests that need a display: when DISPLAY is unset, starts
// `Xvfb :N -screen 0 1280x1024x24 -nolisten tcp -noreset` on a free display number, sets DISPLAY and ends
// the server when the object goes (or at exit).
#include <string>
#include <sys/types.h>

class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // True when a display is usable (the one found in DISPLAY or the one started).
    bool Ready() const { return ready_; }
    const std::string& Name() const { return name_; }

private:
    pid_t server_ = -1;
    pid_t owner_ = -1;
    bool ready_ = false;
    std::string name_;
};
