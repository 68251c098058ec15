#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "engine/Application.h"
#include "engine/EngineTestHooks.h"
#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "platform/d3d9/D3D9TestHooks.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterProgramStrings();
        LoadStringA(nullptr, 101, g_appTitle, 256);
        LoadStringA(nullptr, 102, g_windowClassName, 256);
        RegisterMainWindowClass(nullptr);
        SetClock(&clock);
        ResetFramePacing();
        // Frames draw on a recording device and the mix is only pulled: no display and no
        // audio device are needed.
        D3D9SetAdapterAnswers(D3D9AdapterAnswers{});
        AudioSetPullMode(true);
    }
    void TearDown() override
    {
        SetClock(nullptr);
        D3D9SetAdapterAnswers(std::nullopt);
    }

    VirtualClock clock;
};

TEST_F(MainLoopTest, WindowedClientAreaIsExactly640By480)
{
    g_screenMode = 0;
    ASSERT_TRUE(InitInstance(nullptr, SW_SHOWNORMAL));
    RECT client;
    GetClientRect(g_mainWindow, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_EQ(GetPropA(g_mainWindow, "KarnTamoWindow"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(g_windowActive, 1) << "showing the window activates it";
    DestroyWindow(g_mainWindow);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST_F(MainLoopTest, NoFrameRunsWhileTheWindowIsInactive)
{
    g_screenMode = 0;
    ASSERT_TRUE(InitInstance(nullptr, SW_SHOWNORMAL));
    ASSERT_EQ(GameInit(), 0);
    EXPECT_NE(g_taskList, nullptr);
    EXPECT_NE(g_sceneManager, nullptr);
    EXPECT_NE(g_gameLock, nullptr);
    Win32InjectActivate(g_mainWindow, false);
    // The quit state ends the loop on the first frame that runs.
    g_sceneManager->SetNextScene(SceneState::Quit);

    std::atomic<int> stateWhileInactive{-2};
    std::thread activator([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stateWhileInactive = g_sceneManager->GetCurrentState();
        Win32InjectActivate(g_mainWindow, true);
    });
    MainLoop();
    activator.join();
    EXPECT_EQ(stateWhileInactive.load(), -1) << "the scene manager did not run while inactive";
    EXPECT_EQ(g_sceneManager->GetCurrentState(), static_cast<int>(SceneState::Quit));
    EXPECT_FALSE(IsWindow(g_mainWindow));
    EXPECT_EQ(g_frameTime, 0.016f);

    GameEnd();
    EXPECT_EQ(g_taskList, nullptr);
    EXPECT_EQ(g_sceneManager, nullptr);
    EXPECT_EQ(g_gameLock, nullptr);
}

TEST_F(MainLoopTest, EscapeClosesTheWindowAndEndsTheLoop)
{
    g_screenMode = 0;
    ASSERT_TRUE(InitInstance(nullptr, SW_SHOWNORMAL));
    ASSERT_EQ(GameInit(), 0);
    Win32InjectKey(g_mainWindow, VK_ESCAPE, true);
    MainLoop();
    EXPECT_FALSE(IsWindow(g_mainWindow));
    GameEnd();
}

}  // namespace
