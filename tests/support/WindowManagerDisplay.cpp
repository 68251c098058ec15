#include "tests/support/WindowManagerDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "tests/support/XvfbDisplay.h"

namespace {

pid_t g_manager = 0;
std::string g_home;

void StopManager()
{
    if (g_manager > 0) {
        kill(g_manager, SIGTERM);
        waitpid(g_manager, nullptr, 0);
        g_manager = 0;
    }
    if (!g_home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(g_home, ignored);
    }
}

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
bool Managed()
{
    Display* display = XOpenDisplay(nullptr);
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

bool Start(const std::vector<std::string>& command)
{
    if (command.empty() || !XvfbDisplay::EnsurePrivate()) {
        return false;
    }
    char pattern[] = "/tmp/window-manager-XXXXXX";
    if (!mkdtemp(pattern)) {
        return false;
    }
    g_home = pattern;
    std::atexit(StopManager);
    pid_t pid = fork();
    if (pid == 0) {
        // Whatever the manager reads or writes of its own lies in its folder.
        setenv("HOME", g_home.c_str(), 1);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
            setenv(name, g_home.c_str(), 1);
        }
        std::vector<char*> args;
        for (const auto& a : command) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (pid < 0) {
        return false;
    }
    g_manager = pid;
    for (int i = 0; i < 400; ++i) {
        if (Managed()) {
            return true;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            g_manager = 0;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

}  // namespace

bool WindowManagerDisplay::Ensure(const std::vector<std::string>& command)
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [&] { ok = Start(command); });
    return ok;
}
