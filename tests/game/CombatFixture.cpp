#include "tests/game/CombatFixture.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/win32/Win32.h"

StandingShip::StandingShip(float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    type = TaskType::Player;
}

StandingShip* StandingShip::Create(float x, float y)
{
    return static_cast<StandingShip*>(g_taskList->Insert(new StandingShip(x, y), PriorityPlayer));
}

void CombatFixture::SetUp()
{
    GameFixture::SetUp();
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    g_sceneManager->SetNextScene(SceneState::Blank);
    Frame();
    ClearSoundRequests();
}

void CombatFixture::RunTasks(float frameTime)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RecordingDevice::From(g_graphicsEngine->GetDevice())->ClearCalls();
    g_graphicsEngine->SetDrawEnabled(true);
    g_frameTime = frameTime;
    g_taskList->RunAll();
}

void CombatFixture::RunTasks(int frames, float frameTime)
{
    for (int i = 0; i < frames; ++i) {
        RunTasks(frameTime);
    }
}

std::vector<Task*> CombatFixture::LiveOfType(TaskType type)
{
    std::vector<Task*> found;
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live && t->type == type) {
            found.push_back(t);
        }
    }
    return found;
}

bool CombatFixture::IsLive(const Task* task)
{
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t == task) {
            return t->state == TaskState::Live;
        }
    }
    return false;
}

Task* CombatFixture::FirstTask()
{
    return g_taskList->First();
}

void CombatFixture::ClearSoundRequests()
{
    for (int id = 0; id < kSoundEffectCount; ++id) {
        g_soundEffectBank->SetRequest(static_cast<SoundEffectId>(id), 0);
    }
}

int CombatFixture::SoundRequested(int id)
{
    return g_soundEffectBank->GetRequestFlags()[id];
}
