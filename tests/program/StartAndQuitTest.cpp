#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/win32/Win32.h"
#include "tests/program/ProgramRun.h"

namespace {

// A player starts the game, starts it again by mistake, then quits with Esc.
TEST(StartAndQuitTest, SingleWindowSecondCopyRaisesItEscapeQuitsAndSettingsAreWritten)
{
    ProgramRun run;
    pid_t first = run.Start();
    ASSERT_GT(first, 0);
    HWND game = ProgramRun::WaitForGameWindow();
    ASSERT_NE(game, nullptr) << "the game's window appears with its property";

    std::string info = ProgramRun::Output("xwininfo -name Pellmoor");
    EXPECT_NE(info.find("Width: 640"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480"), std::string::npos) << info;

    // Minimised, then a second copy: it exits with -2 and brings the first one back.
    ShowWindow(game, SW_MINIMIZE);
    for (int i = 0; i < 300 && !IsIconic(game); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(IsIconic(game));
    pid_t second = run.Start();
    EXPECT_EQ(run.Wait(second, 10000), 254);
    for (int i = 0; i < 300 && IsIconic(game); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(IsIconic(game));

    EXPECT_EQ(run.QuitWithEscape(first), 1);

    std::ifstream ini(run.Folder() / "Pellmoor.ini");
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_EQ(text.str(), "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=0\nFOG=1\n");
}

}  // namespace

namespace {

// A termination signal ends the game the ordinary way: score file and settings written.
TEST(StartAndQuitTest, TerminationSignalClosesTheWindow)
{
    ProgramRun run;
    pid_t game = run.Start();
    ASSERT_GT(game, 0);
    ASSERT_NE(ProgramRun::WaitForGameWindow(), nullptr);
    ASSERT_TRUE(ProgramRun::WaitForFirstPicture());
    kill(game, SIGTERM);
    EXPECT_EQ(run.Wait(game, 10000), 1);
    EXPECT_TRUE(std::filesystem::exists(run.Folder() / "Pellmoor.ini"));
    EXPECT_EQ(std::filesystem::file_size(run.Folder() / "sh.dat"), 816u);
}

}  // namespace

namespace {

// Started where no display can be seen (no X, no Wayland, no driver asked for by name): the
// window cannot be created, which is reported, and the game ends at once with 0 without
// touching its files; it must not run on in a window that nobody sees.
TEST(StartAndQuitTest, WithoutADisplayTheWindowFailureIsReportedAndTheGameEnds)
{
    ProgramRun run;
    pid_t game = run.StartWithout({"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"});
    ASSERT_GT(game, 0);
    EXPECT_EQ(run.Wait(game, 10000), 0) << "ended within seconds with WinMain's result for no window";
    EXPECT_NE(run.Errors().find("InitInstanceに失敗しました。"), std::string::npos) << run.Errors();
    EXPECT_FALSE(std::filesystem::exists(run.Folder() / "Pellmoor.ini"));
    EXPECT_FALSE(std::filesystem::exists(run.Folder() / "sh.dat"));
}

}  // namespace

namespace {

// Something left in the way of the game lock's name, or in the way of every name the lock could
// take so that it has no mutex to share with other processes: the game still plays, and
// quitting still ends it the ordinary way, with both files written.
TEST(StartAndQuitTest, QuittingEndsAndWritesTheFilesWhateverStandsInTheGameLocksWay)
{
    // The folder of names as the game makes it: the user's own.
    auto names = [](const std::filesystem::path& runtime) {
        std::filesystem::path folder = runtime / ("win32-standin-" + std::to_string(getuid()));
        mkdir(folder.c_str(), 0700);
        return folder;
    };
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path& names)> make;
    } cases[] = {
        {"a folder left at the lock's name",
         [](const std::filesystem::path& names) { std::filesystem::create_directory(names / "mutex-GAME_MUTEX"); }},
        // The name and the nine that follow it when it is taken.
        {"folders at every name the lock could take",
         [](const std::filesystem::path& names) {
             std::filesystem::create_directory(names / "mutex-GAME_MUTEX");
             for (int n = 1; n < 10; ++n) {
                 std::filesystem::create_directory(names / ("mutex-GAME_MUTEX." + std::to_string(n)));
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run;
        const std::filesystem::path folder = names(getenv("XDG_RUNTIME_DIR"));
        c.make(folder);
        pid_t game = run.Start();
        ASSERT_GT(game, 0);
        ASSERT_TRUE(ProgramRun::WaitForFirstPicture());
        EXPECT_TRUE(std::filesystem::exists(folder / "mutex-KarnTamoInstance")) << "the game kept its names elsewhere";
        EXPECT_EQ(run.QuitWithEscape(game), 1) << "shut-down did not end";
        EXPECT_TRUE(std::filesystem::exists(run.Folder() / "Pellmoor.ini"));
        EXPECT_TRUE(std::filesystem::exists(run.Folder() / "sh.dat"));
    }
}

}  // namespace
