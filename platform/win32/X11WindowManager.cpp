#include "platform/win32/X11WindowManager.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <memory>
#include <vector>

namespace {

Display* Connection(void* display)
{
    return static_cast<Display*>(display);
}

// Errors of the calls below (a window gone meanwhile, a stale check window) are expected and
// must not reach Xlib's default handler, which ends the process.
bool g_failed = false;

int NoteError(Display*, XErrorEvent*)
{
    g_failed = true;
    return 0;
}

// The connection is this class's own and used by one thread, so an error that comes belongs to
// the calls made while the trap is set.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display), previous_(XSetErrorHandler(NoteError))
    {
        g_failed = false;
    }
    ~ErrorTrap()
    {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    bool Failed()
    {
        XSync(display_, False);
        return g_failed;
    }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

// A property of 32-bit items, or empty when it is absent or of another kind.
std::vector<unsigned long> Property(Display* display, Window window, Atom name, Atom type)
{
    std::vector<unsigned long> items;
    ErrorTrap trap(display);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, type, &actualType, &format, &count, &after,
                           &data) == Success &&
        actualType == type && format == 32 && data) {
        auto* values = reinterpret_cast<unsigned long*>(data);  // Xlib hands 32-bit items as longs
        items.assign(values, values + count);
    }
    if (data) {
        XFree(data);
    }
    if (trap.Failed()) {
        items.clear();
    }
    return items;
}

bool SdlX11(SDL_Window* window, SDL_SysWMinfo* info)
{
    SDL_VERSION(&info->version);
    return window && SDL_GetWindowWMInfo(window, info) && info->subsystem == SDL_SYSWM_X11;
}

std::unique_ptr<X11WindowManager>& Instance()
{
    static std::unique_ptr<X11WindowManager> instance;
    return instance;
}

}  // namespace

X11WindowManager::X11WindowManager(void* display) : display_(display)
{
    Display* d = Connection(display_);
    supportingCheck_ = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    supported_ = XInternAtom(d, "_NET_SUPPORTED", False);
    state_ = XInternAtom(d, "_NET_WM_STATE", False);
    fullScreen_ = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
    frameExtents_ = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
}

X11WindowManager::~X11WindowManager()
{
    XCloseDisplay(Connection(display_));
}

X11WindowManager* X11WindowManager::Of(SDL_Window* window)
{
    SDL_SysWMinfo info;
    if (!SdlX11(window, &info)) {
        return nullptr;
    }
    auto& instance = Instance();
    if (!instance) {
        // The connection lives as long as the process: the program has one display.
        Display* own = XOpenDisplay(DisplayString(info.info.x11.display));
        if (!own) {
            return nullptr;
        }
        instance.reset(new X11WindowManager(own));
    }
    return instance->Running() ? instance.get() : nullptr;
}

// A manager that follows the desktop conventions names a window of its own on the root window,
// and that window names itself; a name left behind by a manager that has gone names nothing.
bool X11WindowManager::Running()
{
    Display* d = Connection(display_);
    auto check = Property(d, DefaultRootWindow(d), supportingCheck_, XA_WINDOW);
    if (check.empty()) {
        return false;
    }
    auto self = Property(d, check[0], supportingCheck_, XA_WINDOW);
    return !self.empty() && self[0] == check[0];
}

bool X11WindowManager::OffersFullScreen()
{
    Display* d = Connection(display_);
    for (unsigned long atom : Property(d, DefaultRootWindow(d), supported_, XA_ATOM)) {
        if (atom == fullScreen_) {
            return true;
        }
    }
    return false;
}

unsigned long X11WindowManager::XWindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    return SdlX11(window, &info) ? info.info.x11.window : 0;
}

X11WindowManager::Frame X11WindowManager::FrameOf(SDL_Window* window)
{
    Frame frame;
    auto extents = Property(Connection(display_), XWindowOf(window), frameExtents_, XA_CARDINAL);
    if (extents.size() == 4) {
        frame.left = static_cast<int>(extents[0]);
        frame.right = static_cast<int>(extents[1]);
        frame.top = static_cast<int>(extents[2]);
        frame.bottom = static_cast<int>(extents[3]);
    }
    return frame;
}

bool X11WindowManager::IsFullScreen(unsigned long xwindow)
{
    for (unsigned long atom : Property(Connection(display_), xwindow, state_, XA_ATOM)) {
        if (atom == fullScreen_) {
            return true;
        }
    }
    return false;
}

bool X11WindowManager::IsMapped(unsigned long xwindow)
{
    Display* d = Connection(display_);
    ErrorTrap trap(d);
    XWindowAttributes attributes{};
    return XGetWindowAttributes(d, xwindow, &attributes) && !trap.Failed() && attributes.map_state != IsUnmapped;
}

// The client area in root coordinates, as the server has it now.
bool X11WindowManager::Geometry(unsigned long xwindow, SDL_Rect* client)
{
    Display* d = Connection(display_);
    ErrorTrap trap(d);
    XWindowAttributes attributes{};
    Window child = 0;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(d, xwindow, &attributes) ||
        !XTranslateCoordinates(d, xwindow, attributes.root, 0, 0, &x, &y, &child)) {
        return false;
    }
    *client = SDL_Rect{x, y, attributes.width, attributes.height};
    return !trap.Failed();
}

bool X11WindowManager::CoversADisplay(const SDL_Rect& client)
{
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_RectEquals(&bounds, &client)) {
            return true;
        }
    }
    return false;
}

void X11WindowManager::Watch(unsigned long xwindow)
{
    if (watched_ != xwindow) {
        ErrorTrap trap(Connection(display_));
        XSelectInput(Connection(display_), xwindow, PropertyChangeMask | StructureNotifyMask);
        watched_ = xwindow;
    }
}

void X11WindowManager::Drain()
{
    Display* d = Connection(display_);
    XSync(d, False);
    XEvent event;
    while (XPending(d) > 0) {
        XNextEvent(d, &event);
    }
    frameWritten_ = false;
}

bool X11WindowManager::WaitUntil(const std::function<bool()>& done, std::uint32_t ms)
{
    Display* d = Connection(display_);
    Uint32 deadline = SDL_GetTicks() + ms;
    for (;;) {
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == PropertyNotify && event.xproperty.window == watched_ &&
                event.xproperty.atom == frameExtents_) {
                frameWritten_ = true;
            }
        }
        if (done()) {
            return true;
        }
        if (XEventsQueued(d, QueuedAlready) > 0) {
            continue;  // read while done() asked the server: the socket will not tell of them
        }
        Uint32 now = SDL_GetTicks();
        if (SDL_TICKS_PASSED(now, deadline)) {
            return false;
        }
        // Whatever the manager does to the window is told by an event: sleep until one comes.
        pollfd fd{ConnectionNumber(d), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(deadline - now));
    }
}

// SDL's own idea of the window (its place, size and frame) follows the server's events: once
// the server holds the result, SDL reads the events that tell it.
void X11WindowManager::CatchUpSdl(SDL_Window* window)
{
    SDL_SysWMinfo info;
    if (SdlX11(window, &info)) {
        XSync(info.info.x11.display, False);
    }
    SDL_PumpEvents();
}

void X11WindowManager::SetFullScreen(SDL_Window* window, bool fullScreen)
{
    unsigned long xwindow = XWindowOf(window);
    Watch(xwindow);
    Drain();
    bool framed = !(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
    SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    WaitUntil([&] {
        SDL_Rect client;
        if (fullScreen) {
            return IsFullScreen(xwindow) && Geometry(xwindow, &client) && CoversADisplay(client);
        }
        return !IsFullScreen(xwindow) && (!framed || frameWritten_);
    });
    CatchUpSdl(window);
}

void X11WindowManager::SetBordered(SDL_Window* window, bool bordered)
{
    unsigned long xwindow = XWindowOf(window);
    Watch(xwindow);
    Drain();
    SDL_SetWindowBordered(window, bordered ? SDL_TRUE : SDL_FALSE);
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) {
        WaitUntil([&] { return frameWritten_; });
    }
    CatchUpSdl(window);
}

void X11WindowManager::Place(SDL_Window* window, const SDL_Rect& client, bool move, bool size)
{
    unsigned long xwindow = XWindowOf(window);
    Watch(xwindow);
    Drain();
    CatchUpSdl(window);  // SDL works the frame out of what it last read
    if (size) {
        SDL_SetWindowSize(window, client.w, client.h);
    }
    if (move) {
        SDL_SetWindowPosition(window, client.x, client.y);
    }
    WaitUntil([&] {
        SDL_Rect now;
        return Geometry(xwindow, &now) && (!move || (now.x == client.x && now.y == client.y)) &&
               (!size || (now.w == client.w && now.h == client.h));
    });
    CatchUpSdl(window);
}

void X11WindowManager::Map(SDL_Window* window)
{
    unsigned long xwindow = XWindowOf(window);
    Watch(xwindow);
    Drain();
    Display* d = Connection(display_);
    for (int request = 0; request < 10 && !IsMapped(xwindow); ++request) {
        XMapRaised(d, xwindow);
        XFlush(d);
        WaitUntil([&] { return IsMapped(xwindow); }, 500);
    }
    CatchUpSdl(window);
}
