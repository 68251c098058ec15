#include "tests/support/WindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdlib.h>

#include <filesystem>

namespace {

Window WindowProperty(Display* display, Window window, Atom name)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window value = 0;
    if (XGetWindowProperty(display, window, name, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        type == XA_WINDOW && format == 32 && count == 1) {
        value = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) {
        XFree(data);
    }
    return value;
}

int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// A manager announces itself with a window of its own, named on the root window and by itself.
bool Managed(const std::string& name)
{
    Display* display = XOpenDisplay(name.c_str());
    if (!display) {
        return false;
    }
    auto previous = XSetErrorHandler(IgnoreErrors);
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Window named = WindowProperty(display, DefaultRootWindow(display), check);
    bool managed = named != 0 && WindowProperty(display, named, check) == named;
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return managed;
}

}  // namespace

WindowManager::WindowManager(const std::string& display, const std::vector<std::string>& command)
{
    char pattern[] = "/tmp/window-manager-XXXXXX";
    if (display.empty() || command.empty() || !mkdtemp(pattern)) {
        return;
    }
    home_ = pattern;
    // Whatever the manager reads or writes of its own lies in its folder.
    std::vector<std::pair<std::string, std::string>> set = {{"DISPLAY", display}, {"HOME", home_}};
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
        set.emplace_back(name, home_);
    }
    ready_ = manager_.Start(command, ChildProcess::Environment(set), "") &&
             manager_.WaitUntil([&] { return Managed(display); }, 400);
    if (!ready_) {
        manager_.Stop();
    }
}

WindowManager::~WindowManager()
{
    manager_.Stop();
    if (!home_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
}
