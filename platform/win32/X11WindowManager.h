#pragma once
// What the X window manager says about a window, read from the server itself, and bounded
// waits for the manager to carry out a request: it acts after SDL's calls have returned, and
// a later step (the frame a size is worked out from, the place a window is put) depends on
// the result. Works through a connection of its own, so that SDL's event queue is left alone;
// after each wait SDL reads what the server now holds.
#include <SDL.h>

#include <cstdint>
#include <functional>

class X11WindowManager {
public:
    struct Frame {
        int left = 0, right = 0, top = 0, bottom = 0;
        bool operator==(const Frame&) const = default;
    };

    ~X11WindowManager();

    // The window manager of an X11 window's display, or null when the window is no X11
    // window or no window manager runs there (a bare X server).
    static X11WindowManager* Of(SDL_Window* window);

    // Whether the manager offers the full-screen state.
    bool OffersFullScreen();
    // The frame the manager reports around the window (zero where it reports none).
    Frame FrameOf(SDL_Window* window);

    // Maps the window and waits until it is mapped. A manager may lose a map request, as
    // openbox does with one that comes while it is starting up (and SDL would wait for the
    // window forever): it is asked again, every half second, for up to five seconds.
    void Map(SDL_Window* window);

    // Each request waits until the manager has carried it out, or a second has passed.
    // Full screen: the manager reports the state and the window covers a display; back: the
    // state is gone and, for a window with a frame, the frame has been written again.
    void SetFullScreen(SDL_Window* window, bool fullScreen);
    // A frame added or taken away: the manager has written the window's frame again.
    void SetBordered(SDL_Window* window, bool bordered);
    // The client area moved to (x, y) and/or sized to (w, h), in root coordinates.
    void Place(SDL_Window* window, const SDL_Rect& client, bool move, bool size);

private:
    explicit X11WindowManager(void* display);
    bool Running();
    unsigned long XWindowOf(SDL_Window* window);
    void Watch(unsigned long xwindow);
    void Drain();
    bool WaitUntil(const std::function<bool()>& done, std::uint32_t ms = 1000);
    bool IsMapped(unsigned long xwindow);
    bool IsFullScreen(unsigned long xwindow);
    bool Geometry(unsigned long xwindow, SDL_Rect* client);
    static bool CoversADisplay(const SDL_Rect& client);
    void CatchUpSdl(SDL_Window* window);

    void* display_;  // the connection of its own (Display*)
    unsigned long supportingCheck_, supported_, state_, fullScreen_, frameExtents_;
    unsigned long watched_ = 0;
    bool frameWritten_ = false;  // the manager wrote the watched window's frame since the last Drain
};
