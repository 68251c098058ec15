#pragma once
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

// A window manager on an X display, as a player's desktop has: windows get placed, framed and
// focused by it, and full screen is its state. It runs while the object lives, with its home,
// settings, caches and logs in a temporary folder of its own that goes with it.
class WindowManager {
public:
    // Starts the manager (a command and its arguments, e.g. {"openbox", "--sm-disable"}) on the
    // display and waits until it manages the screen.
    WindowManager(const std::string& display, const std::vector<std::string>& command);
    ~WindowManager();

    // False when it did not start or did not come to manage the screen.
    bool Ready() const { return ready_; }

private:
    std::string home_;
    ChildProcess manager_;
    bool ready_ = false;
};
