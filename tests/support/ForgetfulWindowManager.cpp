#include "tests/support/ForgetfulWindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>

#include "tests/support/XvfbDisplay.h"

namespace {

std::atomic<int> g_lost{0};
std::atomic<bool> g_stop{false};
std::thread* g_thread = nullptr;

bool g_otherManager = false;

int NoteError(Display*, XErrorEvent* error)
{
    // Selecting the redirection on the root window fails while another manager holds it.
    if (error->request_code == 2 /* ChangeWindowAttributes */) {
        g_otherManager = true;
    }
    return 0;
}

void Run(Display* display)
{
    std::set<Window> asked;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (!g_stop) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapRequest) {
                Window w = event.xmaprequest.window;
                if (asked.insert(w).second) {
                    ++g_lost;  // the first request of this window goes nowhere
                } else {
                    XMapWindow(display, w);
                    XSync(display, False);
                    XSetInputFocus(display, w, RevertToPointerRoot, CurrentTime);  // a new window has the focus
                }
            } else if (event.type == ConfigureRequest) {
                XConfigureRequestEvent& r = event.xconfigurerequest;
                XWindowChanges changes{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
                XConfigureWindow(display, r.window, static_cast<unsigned>(r.value_mask), &changes);
            }
        }
        XFlush(display);
        poll(&fd, 1, 50);
    }
    XCloseDisplay(display);
}

void Stop()
{
    g_stop = true;
    if (g_thread) {
        g_thread->join();
        delete g_thread;
        g_thread = nullptr;
    }
}

bool Start()
{
    if (!XvfbDisplay::EnsurePrivate()) {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return false;
    }
    Window root = DefaultRootWindow(display);
    // Errors are left unanswered for good: a window may go between a request and the answer
    // to it, and Xlib's own handler would end the test.
    XSetErrorHandler(NoteError);
    XSelectInput(display, root, SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(display, False);
    if (g_otherManager) {
        XCloseDisplay(display);
        return false;
    }
    // The announcement: a window of its own, named on the root window and by itself.
    Window check = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
    Atom supporting = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    XChangeProperty(display, root, supporting, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&check), 1);
    XChangeProperty(display, check, supporting, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&check), 1);
    XSync(display, False);
    g_thread = new std::thread(Run, display);
    std::atexit(Stop);
    return true;
}

}  // namespace

bool ForgetfulWindowManager::Ensure()
{
    static const bool ok = Start();
    return ok;
}

int ForgetfulWindowManager::LostRequests()
{
    return g_lost;
}
