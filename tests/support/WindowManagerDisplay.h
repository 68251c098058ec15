#pragma once
#include <string>
#include <vector>

// A private Xvfb (XvfbDisplay::EnsurePrivate) with a window manager (WindowManager) running on
// it until the process exits, as a player's desktop has: windows get frames, and full screen is
// the manager's state.
class WindowManagerDisplay {
public:
    // Starts the manager (a command and its arguments, e.g. {"openbox"}) once per process and
    // waits until it manages the screen; false when it cannot be had.
    static bool Ensure(const std::vector<std::string>& command);
};
