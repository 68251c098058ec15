#pragma once
#include <string>

// A Wayland compositor for programs started with SDL's Wayland driver: weston with its X11 back
// end, its output a window over the whole of a private Xvfb (XvfbDisplay::EnsurePrivate), so
// that what it shows is read from the Xvfb's root window; its window has the X keyboard focus,
// so that keys pressed on the Xvfb (xdotool key) reach it.
// Its runtime folder, settings and log lie in a folder of its own; it is stopped when the
// process exits.
class WestonDisplay {
public:
    // Starts weston once per process and waits until its desktop shows; false when it cannot
    // be had.
    static bool Ensure();
    // The compositor's socket, a full path for WAYLAND_DISPLAY.
    static std::string Socket();
};
