// Start-up under a window manager that loses a request to map a window, as openbox does with
// one that comes while it is starting up: the program must not wait for its window forever.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/Win32.h"
#include "tests/program/ProgramRun.h"
#include "tests/support/ForgetfulWindowManager.h"

namespace {

namespace fs = std::filesystem;

TEST(LostMapRequestRunTest, TheWindowShowsAndTheRunEndsWritingBothFiles)
{
    // Before any other display is taken: the program must run under this manager.
    ASSERT_TRUE(ForgetfulWindowManager::Ensure());
    ProgramRun run;
    pid_t pid = run.Start();
    ASSERT_GT(pid, 0);
    ASSERT_NE(ProgramRun::WaitForGameWindow(), nullptr);
    EXPECT_TRUE(ProgramRun::WaitForFirstPicture()) << "the window shows the game";
    EXPECT_GE(ForgetfulWindowManager::LostRequests(), 1) << "the manager lost the first request";
    EXPECT_EQ(run.QuitWithEscape(pid), 1);
    EXPECT_TRUE(fs::exists(run.Folder() / "Pellmoor.ini"));
    EXPECT_TRUE(fs::exists(run.Folder() / "sh.dat") && fs::file_size(run.Folder() / "sh.dat") == 816u);
}

}  // namespace
