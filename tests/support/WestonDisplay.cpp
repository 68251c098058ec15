#include "tests/support/WestonDisplay.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/XvfbDisplay.h"

namespace fs = std::filesystem;

namespace {

ChildProcess g_weston;
fs::path g_root;
std::string g_window;

void StopWeston()
{
    g_weston.Stop();
    if (!g_root.empty()) {
        std::error_code ignored;
        fs::remove_all(g_root, ignored);
    }
}

std::string FirstLine(const std::string& command)
{
    std::string line;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        if (fgets(buffer, sizeof(buffer), p)) {
            line = buffer;
            while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) {
                line.pop_back();
            }
        }
        pclose(p);
    }
    return line;
}

// The desktop shows once the shell has drawn it: its background (below the panel, whose clock
// ticks) is no longer black and stays the same for half a second.
bool DesktopShown()
{
    auto below = [](const ScreenCapture& screen) {
        std::size_t from = std::min<std::size_t>(screen.pixels.size(), static_cast<std::size_t>(screen.width) * 40);
        return std::vector<std::uint32_t>(screen.pixels.begin() + static_cast<std::ptrdiff_t>(from), screen.pixels.end());
    };
    std::vector<std::uint32_t> first = below(ScreenCapture::Take());
    if (first.empty() || std::all_of(first.begin(), first.end(), [](std::uint32_t c) { return c == 0xFF000000u; })) {
        return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return first == below(ScreenCapture::Take());
}

bool Start()
{
    if (!XvfbDisplay::EnsurePrivate()) {
        return false;
    }
    char pattern[] = "/tmp/weston-XXXXXX";
    if (!mkdtemp(pattern)) {
        return false;
    }
    g_root = pattern;
    std::atexit(StopWeston);
    // Wayland wants the runtime folder to be the user's own and closed to others.
    fs::path runtime = g_root / "runtime";
    fs::create_directory(runtime);
    chmod(runtime.c_str(), 0700);
    std::ofstream(g_root / "weston.ini") << "[core]\nidle-time=0\n[shell]\nlocking=false\n";
    std::string log = "--log=" + (g_root / "weston.log").string();
    std::vector<std::string> env = ChildProcess::Environment(
        {{"XDG_RUNTIME_DIR", runtime.string()}, {"XDG_CONFIG_HOME", g_root.string()}, {"HOME", g_root.string()}},
        {"WAYLAND_DISPLAY"});
    if (!g_weston.Start({"weston", "--backend=x11-backend.so", "--socket=wayland-test", "--width=1280",
                         "--height=1024", "--idle-time=0", log},
                        env, "")) {
        return false;
    }
    bool shown = g_weston.WaitUntil(
        [&] {
            if (g_window.empty() && fs::exists(runtime / "wayland-test")) {
                g_window = FirstLine("xdotool search --class '^Weston Compositor$' 2>/dev/null");
            }
            return !g_window.empty() && DesktopShown();
        },
        400);
    // Keys pressed on the X server go to the focused window. The focus is given once: each
    // change makes the compositor take the keyboard from its window and, now and then, not give
    // it back.
    std::string focus = "xdotool windowfocus " + g_window + " >/dev/null 2>&1";
    return shown && std::system(focus.c_str()) == 0;
}

}  // namespace

bool WestonDisplay::Ensure()
{
    static const bool ok = Start();
    return ok;
}

std::string WestonDisplay::Socket()
{
    return (g_root / "runtime" / "wayland-test").string();
}

