#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/win32/Win32.h"
#include "tests/program/ProgramRun.h"

namespace {

std::string Output(const std::string& command)
{
    std::string text;
    FILE* p = popen(command.c_str(), "r");
    char buffer[512];
    while (p && fgets(buffer, sizeof(buffer), p)) {
        text += buffer;
    }
    if (p) {
        pclose(p);
    }
    return text;
}

// A player starts the game, starts it again by mistake, then quits with Esc.
TEST(StartAndQuitTest, SingleWindowSecondCopyRaisesItEscapeQuitsAndSettingsAreWritten)
{
    ProgramRun run;
    pid_t first = run.Start();
    ASSERT_GT(first, 0);
    HWND game = ProgramRun::WaitForGameWindow();
    ASSERT_NE(game, nullptr) << "the game's window appears with its property";

    std::string info = Output("xwininfo -name Pellmoor");
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
