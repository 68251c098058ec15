#pragma once
// An X server of a chosen size with a window manager (openbox) on it, as on a desktop: windows
// get placed, framed and focused by the manager. While the object lives it is this process's
// DISPLAY (and so its children's); the manager runs with its home and caches in a temporary
// folder of its own. Also what the screen shows: windows by title, their outer rectangles and
// their text properties.
#include <string>
#include <vector>

#include "tests/support/WindowManager.h"
#include "tests/support/XvfbServer.h"

class ManagedDisplay {
public:
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
        bool Inside(const Rect& o) const
        {
            return x >= o.x && y >= o.y && x + width <= o.x + o.width && y + height <= o.y + o.height;
        }
        bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
        std::string Describe() const;
    };

    ManagedDisplay(int width, int height);
    ~ManagedDisplay();
    ManagedDisplay(const ManagedDisplay&) = delete;
    ManagedDisplay& operator=(const ManagedDisplay&) = delete;

    // False when the server or the manager did not start.
    bool Ready() const { return manager_.Ready(); }
    const std::string& Name() const { return server_.Name(); }
    Rect Screen() const { return {0, 0, width_, height_}; }

    // The windows on the screen, managed or not, whose title is this one, lowest first. Waits up
    // to timeoutMs for at least count of them.
    std::vector<unsigned long> WindowsNamed(const std::string& title) const;
    std::vector<unsigned long> WaitForWindowsNamed(const std::string& title, std::size_t count, int timeoutMs) const;
    // The window's rectangle on the screen with the manager's frame (_NET_FRAME_EXTENTS).
    Rect OuterRect(unsigned long window) const;
    // The window the window belongs to (WM_TRANSIENT_FOR), or 0.
    unsigned long TransientFor(unsigned long window) const;
    // A UTF-8 text property of the window; empty when it has none.
    std::string TextProperty(unsigned long window, const char* name) const;
    // Gives the window the focus (through the manager when it manages the window) and types one
    // key (an X key name) into it.
    bool PressKey(unsigned long window, const char* key) const;

private:
    int width_, height_;
    // The manager goes before the server it runs on.
    XvfbServer server_;
    WindowManager manager_;
    std::string previous_;
    bool hadPrevious_ = false;
};
