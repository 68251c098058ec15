#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "game/scenes/SceneManager.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

struct Box {
    std::string text;
    std::string caption;
};

class ErrorReporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterProgramStrings();
        Win32SetMessageBoxHook([this](HWND, const std::string& text, const std::string& caption, UINT) {
            std::lock_guard lock(mutex);
            boxes.push_back({text, caption});
            return IDOK;
        });
    }
    void TearDown() override
    {
        Win32SetMessageBoxHook({});
        delete g_sceneManager;
        g_sceneManager = nullptr;
    }

    std::mutex mutex;
    std::vector<Box> boxes;
};

TEST_F(ErrorReporterTest, MessageFormats)
{
    ErrorReporter reporter(1);
    reporter.Report(ErrorStringId::Timeout, 0);
    reporter.Report(ErrorStringId::DeviceResetFailed, static_cast<int>(0x8876086Cu));
    reporter.ReportText(ErrorStringId::FileLoadFailed, "img/a-very-long-file-name-0123456789.bmp");
    reporter.ReportText(ErrorStringId::FileLoadFailed, "%s%d");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "タイムアウトしました。");
    EXPECT_EQ(boxes[0].caption, "エラー");
    EXPECT_EQ(boxes[1].text, "デバイスの復元に失敗しました。 : err_code=-2005530516");
    EXPECT_EQ(boxes[2].text,
              "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。 : img/a-very-long-file-name-01234");
    // The detail is data, never a format.
    EXPECT_EQ(boxes[3].text, "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。 : %s%d");
}

TEST_F(ErrorReporterTest, AReportSendsTheGameToQuit)
{
    g_sceneManager = new SceneManager;
    g_sceneManager->SetNextScene(SceneState::Title);
    ErrorReporter(1).Report(ErrorStringId::Init3DFailed, 0);
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Quit);
}

TEST_F(ErrorReporterTest, ModeZeroShowsNothingAndChangesNothing)
{
    g_sceneManager = new SceneManager;
    g_sceneManager->SetNextScene(SceneState::Title);
    ErrorReporter(0).Report(ErrorStringId::Timeout, 5);
    ErrorReporter(-1).ReportText(ErrorStringId::FileLoadFailed, "x");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Title);
}

TEST_F(ErrorReporterTest, ModeTwoChangesTheSceneWithoutABox)
{
    g_sceneManager = new SceneManager;
    ErrorReporter(2).Report(ErrorStringId::Timeout, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Quit);
}

TEST_F(ErrorReporterTest, BeforeTheSceneManagerExistsOnlyTheBoxIsShown)
{
    ErrorReporter(1).Report(ErrorStringId::InitInstanceFailed, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "InitInstanceに失敗しました。");
}

TEST_F(ErrorReporterTest, AReportFromAWorkerThreadWinsOverTheMainThreadsRequests)
{
    g_sceneManager = new SceneManager;
    g_gameLock = GetGameLock();
    std::thread worker([] { ErrorReporter(1).Report(ErrorStringId::Timeout, 0); });
    // The main thread keeps requesting scenes meanwhile, as menus and fades do.
    for (int i = 0; i < 20000; ++i) {
        g_sceneManager->SetNextScene(i % 2 ? SceneState::Title : SceneState::Difficulty);
    }
    worker.join();
    g_sceneManager->SetNextScene(SceneState::Title);
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Quit);
    g_gameLock = nullptr;
    DestroyGameLock();
}

}  // namespace
