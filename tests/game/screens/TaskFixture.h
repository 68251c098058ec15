#pragma once
// The running game's objects in an empty scene of our own: only the tasks a test creates run,
// once per RunTasks, with the frame time the test chooses.
#include <cstdint>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

class TaskFixture : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        StartGame();
        ASSERT_TRUE(RunUntil(SceneState::Title, 200));
        g_sceneManager->SetNextScene(SceneState::Blank);
        Frame();
        ClearRequests();
    }

    // Runs the task list once as a drawn frame would, recording only its sprites.
    void RunTasks(float frameTime = 0.016f)
    {
        RecordingDevice::From(g_graphicsEngine->GetDevice())->ClearCalls();
        g_frameTime = frameTime;
        g_graphicsEngine->SetDrawEnabled(true);
        g_taskList->RunAll();
    }

    // Takes the window's messages, so that the key state follows the injected keys, without
    // running a frame (which would act on a requested scene).
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // Keys go down together for one run of the tasks, then up; the sprites are those of the run
    // in which they were pressed.
    void PressTogether(std::initializer_list<int> virtualKeys)
    {
        for (int vk : virtualKeys) {
            KeyDown(vk);
        }
        Pump();
        RunTasks();
        auto pressed = Sprites();
        for (int vk : virtualKeys) {
            KeyUp(vk);
        }
        Pump();
        RunTasks();
        RunTasks();  // back to Up, ready for the next press
        lastPressSprites = pressed;
    }
    void Press(int virtualKey) { PressTogether({virtualKey}); }

    static int LiveTasks()
    {
        int live = 0;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            live += t->state == TaskState::Live ? 1 : 0;
        }
        return live;
    }

    static std::uint8_t Requested(SoundEffectId id) { return g_soundEffectBank->GetRequestFlags()[static_cast<int>(id)]; }
    static void ClearRequests()
    {
        for (int id = 0; id < kSoundEffectCount; ++id) {
            g_soundEffectBank->SetRequest(static_cast<SoundEffectId>(id), 0);
        }
    }

    std::vector<DrawnSprite> lastPressSprites;
};
