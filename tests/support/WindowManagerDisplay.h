#pragma once
#include <string>
#include <vector>

// A private Xvfb (XvfbDisplay::EnsurePrivate) with a window manager running on it, as a
// player's desktop has: windows get frames, and full screen is the manager's state. The manager
// keeps its settings and logs in a folder of its own and is stopped when the process exits.
class WindowManagerDisplay {
public:
    // Starts the manager (a command and its arguments, e.g. {"openbox"}) once per process and
    // waits until it manages the screen; false when it cannot be had.
    static bool Ensure(const std::vector<std::string>& command);
};
