// The program on a Wayland desktop (weston), through SDL's Wayland driver: F5 asks the
// compositor for full screen, which alone decides where a window is shown.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "platform/win32/Win32.h"
#include "tests/program/ProgramRun.h"
#include "tests/program/ScreenPicture.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/WestonDisplay.h"

namespace {

using Clock = std::chrono::steady_clock;

// Below the compositor's panel, whose clock may change meanwhile.
constexpr int kBelowPanel = 40;

// What is wrong with the game shown in a window: the part of the output that differs from the
// desktop before the game started must be the whole picture, 640x480.
std::string WindowFaults(const ScreenCapture& desktop)
{
    ScreenCapture screen = ScreenCapture::Take();
    if (screen.width != desktop.width || screen.height != desktop.height) {
        return "the screen cannot be read; ";
    }
    ScreenArea below{0, kBelowPanel, screen.width, screen.height - kBelowPanel};
    ScreenArea window = ScreenPicture::Bounds(
        screen, below, [&](int x, int y) { return screen.At(x, y) != desktop.At(x, y); });
    ScreenArea picture = ScreenPicture::PictureIn(screen, window);
    std::ostringstream out;
    if (window.w != 640 || window.h != 480 || window.y <= kBelowPanel) {
        out << "window " << window << ", not a whole 640x480 one; ";
    }
    if (!(picture == window)) {
        out << "picture " << picture << " inside the window " << window << " (black bars); ";
    }
    return out.str();
}

template <typename Faults>
std::string Settled(Faults faults, std::chrono::seconds time = std::chrono::seconds(10))
{
    std::string found;
    for (auto end = Clock::now() + time; Clock::now() < end;) {
        found = faults();
        if (found.empty()) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return found;
}

// A key pressed on the X server reaches the compositor through its output window.
void Press(ProgramRun& run, const char* key)
{
    run.X(std::string("xdotool key ") + key + " >/dev/null 2>&1");
}

TEST(WaylandRunTest, F5FillsTheOutputAndComesBackToA640x480Window)
{
    ASSERT_TRUE(WestonDisplay::Ensure());
    ScreenCapture desktop = ScreenCapture::Take();
    setenv("SDL_VIDEODRIVER", "wayland", 1);
    setenv("WAYLAND_DISPLAY", WestonDisplay::Socket().c_str(), 1);
    // On Wayland the OpenGL context comes from Mesa's EGL, which keeps its driver's memory to
    // the end and is unloaded by SDL at exit: a sanitizer build would report it with no library
    // left to name. Leaks of the program's own code are looked for in every run on X11.
    if (const char* asan = getenv("ASAN_OPTIONS")) {
        setenv("ASAN_OPTIONS", (std::string(asan) + ":detect_leaks=0").c_str(), 1);
    }
    ProgramRun run;
    pid_t pid = run.Start();
    ASSERT_GT(pid, 0);
    ASSERT_NE(ProgramRun::WaitForGameWindow(), nullptr);
    // The title's picture, after the loading screen, which takes a while in a sanitizer build.
    ASSERT_EQ(Settled([&] { return WindowFaults(desktop); }, std::chrono::seconds(30)), "") << "at the start";
    for (int press = 1; press <= 6; ++press) {
        Press(run, "F5");
        bool fullScreen = press % 2 == 1;
        SCOPED_TRACE(::testing::Message() << "after F5 number " << press << ", " << (fullScreen ? "full screen" : "window"));
        if (fullScreen) {
            // Nothing of the desktop shows: the panel is covered too.
            EXPECT_EQ(Settled([] { return ScreenPicture::LetterboxFaults(ScreenCapture::Take()); }), "");
        } else {
            EXPECT_EQ(Settled([&] { return WindowFaults(desktop); }), "");
        }
    }
    int status = -1;
    for (int attempt = 0; attempt < 20 && status == -1; ++attempt) {
        Press(run, "Escape");
        status = run.Wait(pid, 250);
    }
    EXPECT_EQ(status, 1);
}

}  // namespace
