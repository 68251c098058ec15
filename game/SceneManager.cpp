#include "game/SceneManager.h"

#include "engine/Application.h"
#include "engine/MathUtil.h"
#include "engine/MusicController.h"
#include "engine/TaskList.h"
#include "game/ScoreTable.h"

SceneManager* g_sceneManager = nullptr;

const SceneManager::Handler SceneManager::kHandlers[9] = {
    &SceneManager::RunLoading,    &SceneManager::RunTitle,      &SceneManager::RunBlank,
    &SceneManager::RunDifficulty, &SceneManager::RunStage,      &SceneManager::RunStageClear,
    &SceneManager::RunGameOver,   &SceneManager::RunBlank,      &SceneManager::RunQuit,
};

SceneManager::SceneManager()
    : pauseFlag(0),
      inputFreeze(0),
      level(0),
      currentState(-1),
      requestedState(static_cast<int>(SceneState::Loading)),
      stageRunning(0),
      musicReady(0),
      resourcesLoaded(0)
{
}

int SceneManager::CreateScenes()
{
    FillAngleTables();
    return 0;
}

void SceneManager::DeleteScenes() {}

void SceneManager::SetNextScene(SceneState state)
{
    int quit = static_cast<int>(SceneState::Quit);
    int current = requestedState.load();
    while (current != quit && !requestedState.compare_exchange_weak(current, static_cast<int>(state))) {
    }
}

void SceneManager::Run()
{
    int requested = requestedState.load();
    if (requested < 0 || requested > static_cast<int>(SceneState::Quit)) {
        return;
    }
    bool entering = requested != currentState;
    currentState = requested;
    (this->*kHandlers[requested])(entering);
}

void SceneManager::ReleaseSceneTextures() {}

void SceneManager::SetClearColor(std::uint32_t) {}

void SceneManager::RequestMusic(int track)
{
    if (g_musicController) {
        g_musicController->RequestTrack(track);
    }
}

void SceneManager::EndPreviousScene()
{
    if (g_taskList) {
        g_taskList->KillAllLive();
    }
    ReleaseSceneTextures();
}

void SceneManager::RunLoading(bool entering)
{
    if (entering) {
        SetClearColor(0xFF000000u);
        stageRunning = 0;
        if (g_scoreTable) {
            g_scoreTable->Load();
        }
    }
}

void SceneManager::RunTitle(bool entering)
{
    if (entering) {
        SetClearColor(0x00000000u);
        RequestMusic(1);
        EndPreviousScene();
        stageRunning = 0;
    }
}

void SceneManager::RunBlank(bool entering)
{
    if (entering) {
        EndPreviousScene();
        stageRunning = 0;
    }
}

void SceneManager::RunDifficulty(bool entering)
{
    if (entering) {
        EndPreviousScene();
        stageRunning = 0;
    }
}

void SceneManager::RunStage(bool entering)
{
    if (entering) {
        SetClearColor(0xFFC0FFFFu);
        RequestMusic(level >= 3 ? 3 : 2);
        EndPreviousScene();
        stageRunning = 1;
    }
}

void SceneManager::RunStageClear(bool entering)
{
    if (entering) {
        SetClearColor(0xFFFFFFFFu);
        RequestMusic(6);
        EndPreviousScene();
        stageRunning = 0;
    }
}

void SceneManager::RunGameOver(bool entering)
{
    if (entering) {
        SetClearColor(0x00000000u);
        RequestMusic(7);
        EndPreviousScene();
        stageRunning = 0;
    }
}

void SceneManager::RunQuit(bool)
{
    DestroyWindow(g_mainWindow);
}
