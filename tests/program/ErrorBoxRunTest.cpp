// The game's error boxes as a player meets them: the real program, started on a desktop (an X
// server with a window manager), shows a box that lies on the screen over the game's window and
// says the error in words the player can read; Return closes it and the game then ends as it
// does after any report.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/msgbox/MessageBoxProperty.h"
#include "tests/program/ProgramRun.h"
#include "tests/support/ManagedDisplay.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/ScreenPng.h"

namespace fs = std::filesystem;

namespace {

struct Failure {
    const char* what;
    std::function<void(ProgramRun&)> arrange;
    std::string message;
    int exitStatus;         // WinMain's result after the box
    bool filesWritten;      // the score file and the settings after the ordinary shut-down
};

TEST(ErrorBoxRunTest, TheGamesErrorBoxSaysItsMessageOnTheScreenAndReturnEndsTheGame)
{
    const Failure failures[] = {
        // The loader thread reports while the main thread runs frames; the game quits after.
        {"an image missing from the program folder",
         [](ProgramRun& run) { fs::remove(run.Folder() / "img" / "shot.bmp"); },
         "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。 : img/shot.bmp", 1, true},
        // The main thread reports from GameInit, with the window up; start-up ends there.
        {"no sound device",
         [](ProgramRun&) { setenv("SDL_AUDIODRIVER", "no-such-sound-driver", 1); },
         "GameInitに失敗しました。 : err_code=-9", 0, false},
    };
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        const Failure& f = failures[i];
        SCOPED_TRACE(f.what);
        ManagedDisplay display(1024, 768);
        ASSERT_TRUE(display.Ready());
        ProgramRun run;
        f.arrange(run);
        pid_t game = run.Start();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_GT(game, 0);

        std::vector<unsigned long> boxes = display.WaitForWindowsNamed("エラー", 1, 30000);
        ASSERT_EQ(boxes.size(), 1u) << "the error box appears";
        unsigned long box = boxes[0];
        EXPECT_EQ(display.TextProperty(box, kMessageBoxTextProperty), f.message) << "the box's label holds the message";
        ManagedDisplay::Rect outer = display.OuterRect(box);
        EXPECT_TRUE(outer.Inside(display.Screen())) << "the box, " << outer.Describe() << ", lies on the screen";
        std::vector<unsigned long> windows = display.WindowsNamed("Pellmoor");
        ASSERT_EQ(windows.size(), 1u) << "the game's window is up";
        EXPECT_EQ(display.TransientFor(box), windows[0]) << "the box belongs to the game's window";
        ManagedDisplay::Rect owner = display.OuterRect(windows[0]);
        EXPECT_TRUE(owner.Contains(outer.x + outer.width / 2, outer.y + outer.height / 2))
            << "the box, " << outer.Describe() << ", is over the game's window, " << owner.Describe();
        SaveScreenPng(ScreenCapture::Take(), std::string(TEST_OUTPUT_DIR) + "/error-box-" + std::to_string(i) + ".png");

        ASSERT_TRUE(display.PressKey(box, "Return"));
        EXPECT_EQ(run.Wait(game, 20000), f.exitStatus) << "the game ends once the box is closed";
        EXPECT_EQ(fs::exists(run.Folder() / "sh.dat"), f.filesWritten);
        EXPECT_EQ(fs::exists(run.Folder() / "Pellmoor.ini"), f.filesWritten);
    }
}

}  // namespace
