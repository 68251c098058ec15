#include "tests/support/ManagedDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

void Pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A window property as raw items (of 8, 16 or 32 bits; 32-bit items come as longs).
std::vector<unsigned char> Property(Display* d, Window w, const char* name, Atom type, int* format = nullptr)
{
    std::vector<unsigned char> bytes;
    Atom actual = None;
    int f = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1 << 20, False, type, &actual, &f, &count, &after,
                           &data) == Success &&
        data && actual != None) {
        std::size_t size = f == 32 ? sizeof(long) : static_cast<std::size_t>(f / 8);
        bytes.assign(data, data + count * size);
        if (format) {
            *format = f;
        }
    }
    if (data) {
        XFree(data);
    }
    return bytes;
}

std::vector<long> Longs(Display* d, Window w, const char* name, Atom type)
{
    std::vector<unsigned char> bytes = Property(d, w, name, type);
    std::vector<long> values(bytes.size() / sizeof(long));
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = reinterpret_cast<const long*>(bytes.data())[i];
    }
    return values;
}

// A window can go between the manager's list and the question about it: an error is an answer
// of "none" here, not the end of the test program.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Opens the display by name for one query, closed when it goes.
struct Connection {
    explicit Connection(const std::string& name) : display(XOpenDisplay(name.c_str()))
    {
        XSetErrorHandler(IgnoreErrors);
    }
    ~Connection()
    {
        if (display) {
            XCloseDisplay(display);
        }
    }
    Display* display;
};

}  // namespace

std::string ManagedDisplay::Rect::Describe() const
{
    return std::to_string(width) + "x" + std::to_string(height) + " at (" + std::to_string(x) + ", " +
           std::to_string(y) + ")";
}

ManagedDisplay::ManagedDisplay(int width, int height)
    : width_(width), height_(height), server_(width, height), manager_(server_.Name(), {"openbox", "--sm-disable"})
{
    if (!Ready()) {
        return;
    }
    const char* previous = std::getenv("DISPLAY");
    hadPrevious_ = previous != nullptr;
    previous_ = previous ? previous : "";
    setenv("DISPLAY", Name().c_str(), 1);
}

ManagedDisplay::~ManagedDisplay()
{
    if (Ready()) {
        if (hadPrevious_) {
            setenv("DISPLAY", previous_.c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
}

namespace {

std::string Title(Display* d, Window w)
{
    std::vector<unsigned char> name = Property(d, w, "_NET_WM_NAME", XInternAtom(d, "UTF8_STRING", False));
    if (name.empty()) {
        name = Property(d, w, "WM_NAME", AnyPropertyType);
    }
    return std::string(name.begin(), name.end());
}

// The viewable windows under parent with the title; a manager's frame is searched within.
void CollectNamed(Display* d, Window parent, const std::string& title, int depth, std::vector<unsigned long>* found)
{
    Window root, up;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, parent, &root, &up, &children, &count)) {
        return;
    }
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) {
            continue;
        }
        if (Title(d, children[i]) == title) {
            found->push_back(children[i]);
        } else if (depth < 3) {
            CollectNamed(d, children[i], title, depth + 1, found);
        }
    }
    if (children) {
        XFree(children);
    }
}

}  // namespace

std::vector<unsigned long> ManagedDisplay::WindowsNamed(const std::string& title) const
{
    std::vector<unsigned long> found;
    Connection c(Name());
    if (c.display) {
        CollectNamed(c.display, DefaultRootWindow(c.display), title, 0, &found);
    }
    return found;
}

std::vector<unsigned long> ManagedDisplay::WaitForWindowsNamed(const std::string& title, std::size_t count,
                                                               int timeoutMs) const
{
    std::vector<unsigned long> found;
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        found = WindowsNamed(title);
        if (found.size() >= count) {
            break;
        }
        Pause(20);
    }
    return found;
}

ManagedDisplay::Rect ManagedDisplay::OuterRect(unsigned long window) const
{
    Rect r;
    Connection c(Name());
    if (!c.display) {
        return r;
    }
    Window w = static_cast<Window>(window);
    XWindowAttributes a{};
    Window child;
    if (!XGetWindowAttributes(c.display, w, &a) ||
        !XTranslateCoordinates(c.display, w, DefaultRootWindow(c.display), 0, 0, &r.x, &r.y, &child)) {
        return r;
    }
    r.width = a.width;
    r.height = a.height;
    std::vector<long> extents = Longs(c.display, w, "_NET_FRAME_EXTENTS", XA_CARDINAL);  // left, right, top, bottom
    if (extents.size() == 4) {
        r.x -= static_cast<int>(extents[0]);
        r.y -= static_cast<int>(extents[2]);
        r.width += static_cast<int>(extents[0] + extents[1]);
        r.height += static_cast<int>(extents[2] + extents[3]);
    }
    return r;
}

unsigned long ManagedDisplay::TransientFor(unsigned long window) const
{
    Connection c(Name());
    if (!c.display) {
        return 0;
    }
    std::vector<long> owner = Longs(c.display, static_cast<Window>(window), "WM_TRANSIENT_FOR", XA_WINDOW);
    return owner.empty() ? 0 : static_cast<unsigned long>(owner[0]);
}

std::string ManagedDisplay::TextProperty(unsigned long window, const char* name) const
{
    Connection c(Name());
    if (!c.display) {
        return std::string();
    }
    std::vector<unsigned char> bytes =
        Property(c.display, static_cast<Window>(window), name, XInternAtom(c.display, "UTF8_STRING", False));
    return std::string(bytes.begin(), bytes.end());
}

bool ManagedDisplay::PressKey(unsigned long window, const char* key) const
{
    Connection c(Name());
    if (!c.display) {
        return false;
    }
    Display* d = c.display;
    Window root = DefaultRootWindow(d);
    Window w = static_cast<Window>(window);
    std::vector<long> clients = Longs(d, root, "_NET_CLIENT_LIST", XA_WINDOW);
    bool managed = std::find(clients.begin(), clients.end(), static_cast<long>(w)) != clients.end();
    if (managed) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = 2;  // asked for by a pager: the manager does not second-guess it
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XFlush(d);
        bool active = false;
        for (int i = 0; i < 250 && !active; ++i) {
            std::vector<long> now = Longs(d, root, "_NET_ACTIVE_WINDOW", XA_WINDOW);
            active = !now.empty() && static_cast<Window>(now[0]) == w;
            if (!active) {
                Pause(20);
            }
        }
        if (!active) {
            return false;
        }
    } else {
        XSetInputFocus(d, w, RevertToParent, CurrentTime);  // a window the manager left alone
        XSync(d, False);
    }
    Pause(100);  // the focus change reaches the client before the key does
    KeyCode code = XKeysymToKeycode(d, XStringToKeysym(key));
    if (code == 0) {
        return false;
    }
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
    return true;
}
