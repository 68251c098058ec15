// The program on a desktop with a window manager (openbox on the test's own Xvfb): F5 between
// window and full screen as the manager sees it and as the screen shows it, and starts in a row.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/win32/Win32.h"
#include "tests/program/ProgramRun.h"
#include "tests/program/ScreenPicture.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/WindowManagerDisplay.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int Field(const std::string& text, const std::string& name)
{
    auto at = text.find(name);
    return at == std::string::npos ? -99999 : std::atoi(text.c_str() + at + name.size());
}

using Area = ScreenArea;

// The game's window as the X server and the window manager have it.
struct GameWindow {
    std::string id;
    bool viewable = false;
    Area client;  // root coordinates
    bool fullScreenState = false;
    int frameLeft = 0, frameTop = 0;  // _NET_FRAME_EXTENTS

    static GameWindow Look()
    {
        GameWindow w;
        std::istringstream ids(ProgramRun::Output("xdotool search --name '^Pellmoor$' 2>/dev/null"));
        ids >> w.id;
        if (w.id.empty()) {
            return w;
        }
        std::string info = ProgramRun::Output("xwininfo -id " + w.id + " 2>/dev/null");
        w.viewable = info.find("IsViewable") != std::string::npos;
        w.client = {Field(info, "Absolute upper-left X:"), Field(info, "Absolute upper-left Y:"),
                    Field(info, "Width:"), Field(info, "Height:")};
        std::string state = ProgramRun::Output("xprop -id " + w.id + " _NET_WM_STATE _NET_FRAME_EXTENTS 2>/dev/null");
        w.fullScreenState = state.find("_NET_WM_STATE_FULLSCREEN") != std::string::npos;
        const std::string extentsName = "_NET_FRAME_EXTENTS(CARDINAL) =";
        auto extents = state.find(extentsName);
        if (extents != std::string::npos) {
            std::istringstream values(state.substr(extents + extentsName.size()));
            int left = 0, right = 0, top = 0;
            char comma;
            if (values >> left >> comma >> right >> comma >> top) {
                w.frameLeft = left;
                w.frameTop = top;
            }
        }
        return w;
    }
};

// What is wrong with full screen: empty when nothing is.
std::string FullScreenFaults(const GameWindow& w)
{
    std::ostringstream out;
    ScreenCapture screen = ScreenCapture::Take();
    if (!w.viewable) {
        out << "window not shown; ";
    }
    if (!w.fullScreenState) {
        out << "_NET_WM_STATE_FULLSCREEN not set; ";
    }
    Area whole{0, 0, screen.width, screen.height};
    if (!(w.client == whole)) {
        out << "client area " << w.client << ", not the screen " << whole << "; ";
    }
    out << ScreenPicture::LetterboxFaults(screen);
    return out.str();
}

// What is wrong with the window: empty when its client area is 640x480 where expected and the
// picture fills it.
std::string WindowFaults(const GameWindow& w, const Area& expected)
{
    std::ostringstream out;
    if (!w.viewable) {
        out << "window not shown; ";
    }
    if (w.fullScreenState) {
        out << "_NET_WM_STATE_FULLSCREEN still set; ";
    }
    if (!(w.client == expected)) {
        out << "client area " << w.client << ", expected " << expected << "; ";
    }
    Area picture = ScreenPicture::PictureIn(ScreenCapture::Take(), w.client);
    if (!(picture == w.client)) {
        out << "picture " << picture << " inside the client area " << w.client << " (black bars); ";
    }
    return out.str();
}

// Looks until faults() finds nothing or the time has passed; the last faults found.
template <typename Faults>
std::string Settled(Faults faults, std::chrono::seconds time = std::chrono::seconds(10))
{
    std::string found;
    for (auto end = Clock::now() + time; Clock::now() < end;) {
        found = faults(GameWindow::Look());
        if (found.empty()) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return found;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteSettings(const fs::path& folder, int screenMode)
{
    std::ofstream(folder / "Pellmoor.ini") << "[MODE]\nSCREEN_MODE=" << screenMode << "\nDEVICECHECK=0\nFOG=1\n";
}

class WindowManagerRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Before any other display is taken: the program must run on the managed one.
        ASSERT_TRUE(WindowManagerDisplay::Ensure({"openbox", "--sm-disable"}));
    }
};

struct StartCase {
    const char* name;
    int screenMode;
};

void PrintTo(const StartCase& c, std::ostream* out)
{
    *out << c.name;
}

class ScreenModeUnderWindowManagerTest : public WindowManagerRunTest, public ::testing::WithParamInterface<StartCase> {};

// Full screen is the manager's own state: the window covers the screen at (0, 0), the picture
// in it has bars of equal height. Back in a window the client area is 640x480 where the window
// was (after a full-screen start: the window's frame at (0, 0)), drawn one to one. Three round
// trips change nothing.
TEST_P(ScreenModeUnderWindowManagerTest, F5FillsTheScreenAndComesBackToTheSameWindow)
{
    const StartCase& c = GetParam();
    ProgramRun run;
    WriteSettings(run.Folder(), c.screenMode);
    pid_t pid = run.Start();
    ASSERT_GT(pid, 0);
    ASSERT_NE(ProgramRun::WaitForGameWindow(), nullptr);

    std::optional<Area> window;
    if (c.screenMode == 0) {
        // The title's picture, after the loading screen, which takes a while in a sanitizer build.
        ASSERT_EQ(Settled(
                      [](const GameWindow& w) {
                          return w.viewable && w.client.w == 640 && w.client.h == 480 ? WindowFaults(w, w.client)
                                                                                      : std::string("not yet shown");
                      },
                      std::chrono::seconds(30)),
                  "");
        window = GameWindow::Look().client;
    } else {
        ASSERT_EQ(Settled(FullScreenFaults, std::chrono::seconds(30)), "") << "at the start";
    }
    for (int press = 1; press <= 6; ++press) {
        std::string id = GameWindow::Look().id;
        ASSERT_EQ(run.X("xdotool key --window " + id + " F5"), 0);
        bool fullScreen = (c.screenMode ^ (press % 2)) == 1;
        SCOPED_TRACE(::testing::Message() << "after F5 number " << press << ", " << (fullScreen ? "full screen" : "window"));
        if (fullScreen) {
            EXPECT_EQ(Settled(FullScreenFaults), "");
            continue;
        }
        if (!window) {
            // The first window after a full-screen start: its frame's corner at the origin.
            EXPECT_EQ(Settled([](const GameWindow& w) {
                          return WindowFaults(w, Area{w.frameLeft, w.frameTop, 640, 480});
                      }),
                      "");
            window = GameWindow::Look().client;
            EXPECT_GT(window->y, 0) << "the frame has a title bar above the client area";
            continue;
        }
        EXPECT_EQ(Settled([&](const GameWindow& w) { return WindowFaults(w, *window); }), "");
    }
    EXPECT_EQ(run.QuitWithEscape(pid), 1);
    EXPECT_EQ(ReadText(run.Folder() / "Pellmoor.ini"),
              "[MODE]\nSCREEN_MODE=" + std::to_string(c.screenMode) + "\nDEVICECHECK=0\nFOG=1\n");
}

// Started twenty times in a row, as a player starts it: every start shows its window with the
// game's picture in it, and every run quit with Esc ends writing both of its files.
TEST_F(WindowManagerRunTest, EveryStartShowsItsWindowAndEndsWritingBothFiles)
{
    ProgramRun run;
    const fs::path settings = run.Folder() / "Pellmoor.ini", scores = run.Folder() / "sh.dat";
    auto coloured = [](std::uint32_t c) {
        return ((c >> 16) & 255) != ((c >> 8) & 255) || ((c >> 8) & 255) != (c & 255);
    };
    for (int start = 1; start <= 20; ++start) {
        SCOPED_TRACE(::testing::Message() << "start " << start);
        fs::remove(settings);
        fs::remove(scores);
        pid_t pid = run.Start();
        ASSERT_GT(pid, 0);
        EXPECT_NE(ProgramRun::WaitForGameWindow(), nullptr);
        EXPECT_EQ(Settled(
                      [&](const GameWindow& w) {
                          if (!w.viewable) {
                              return std::string("no window on the screen");
                          }
                          ScreenCapture screen = ScreenCapture::Take();
                          auto drawn = ScreenPicture::Bounds(screen, w.client, [&](int x, int y) {
                              return coloured(screen.At(x, y));
                          });
                          if (drawn.w > 0) {
                              return std::string();
                          }
                          return std::string("nothing drawn in the window");
                      },
                      std::chrono::seconds(10)),
                  "");
        EXPECT_EQ(run.QuitWithEscape(pid), 1);
        EXPECT_TRUE(fs::exists(settings));
        EXPECT_TRUE(fs::exists(scores) && fs::file_size(scores) == 816u) << "the score file";
    }
}

INSTANTIATE_TEST_SUITE_P(Starts, ScreenModeUnderWindowManagerTest,
                         ::testing::Values(StartCase{"FromAWindow", 0}, StartCase{"FromFullScreen", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
