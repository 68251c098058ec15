#include "game/scenes/SceneManager.h"

#include <new>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/MusicController.h"
#include "engine/TaskList.h"
#include "game/scenes/DifficultyScene.h"
#include "game/scenes/GameOverScene.h"
#include "game/scenes/LoadingScene.h"
#include "game/score/ScoreTable.h"
#include "game/scenes/StageClearScene.h"
#include "game/scenes/StageScene.h"
#include "game/scenes/TitleScene.h"

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
    g_sceneControl = this;
}

SceneManager::~SceneManager()
{
    if (g_sceneControl == this) {
        g_sceneControl = nullptr;
    }
}

void SceneManager::OnWindowDestroyed()
{
    if (g_scoreTable) {
        g_scoreTable->Save();
    }
}

int SceneManager::CreateScenes()
{
    if (!(g_loadingScene = new (std::nothrow) LoadingScene) || !(g_titleScene = new (std::nothrow) TitleScene) ||
        !(g_difficultyScene = new (std::nothrow) DifficultyScene) || !(g_stageScene = new (std::nothrow) StageScene) ||
        !(g_stageClearScene = new (std::nothrow) StageClearScene) ||
        !(g_gameOverScene = new (std::nothrow) GameOverScene)) {
        return -1;
    }
    FillAngleTables();
    return 0;
}

void SceneManager::DeleteScenes()
{
    delete g_loadingScene;
    g_loadingScene = nullptr;
    delete g_titleScene;
    g_titleScene = nullptr;
    delete g_difficultyScene;
    g_difficultyScene = nullptr;
    delete g_stageScene;
    g_stageScene = nullptr;
    delete g_stageClearScene;
    g_stageClearScene = nullptr;
    delete g_gameOverScene;
    g_gameOverScene = nullptr;
}

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

void SceneManager::ReleaseSceneTextures()
{
    if (!g_graphicsEngine) {
        return;
    }
    for (int slot : kSceneTextureSlots) {
        g_graphicsEngine->ReleaseTexture(slot);
    }
}

void SceneManager::SetClearColor(std::uint32_t argb)
{
    if (g_graphicsEngine) {
        g_graphicsEngine->SetClearColor(argb);
    }
}

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
        g_loadingScene->Enter();
        stageRunning = 0;
    }
    int result = g_loadingScene->Exec();
    if (result == 1) {
        SetNextScene(SceneState::Title);
    } else if (result == -1) {
        SetNextScene(SceneState::Quit);
    }
}

void SceneManager::RunTitle(bool entering)
{
    if (entering) {
        SetClearColor(0x00000000u);
        RequestMusic(1);
        EndPreviousScene();
        g_titleScene->Enter();
        stageRunning = 0;
    }
    g_titleScene->Exec();
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
        g_difficultyScene->Enter();
        stageRunning = 0;
    }
    g_difficultyScene->Exec();
}

void SceneManager::RunStage(bool entering)
{
    if (entering) {
        SetClearColor(0xFFC0FFFFu);
        RequestMusic(level >= 3 ? 3 : 2);
        EndPreviousScene();
        g_stageScene->Enter();
        stageRunning = 1;
    }
    g_stageScene->Exec();
}

void SceneManager::RunStageClear(bool entering)
{
    if (entering) {
        SetClearColor(0xFFFFFFFFu);
        RequestMusic(6);
        EndPreviousScene();
        g_stageClearScene->Enter();
        stageRunning = 0;
    }
    g_stageClearScene->Exec();
}

void SceneManager::RunGameOver(bool entering)
{
    if (entering) {
        SetClearColor(0x00000000u);
        RequestMusic(7);
        EndPreviousScene();
        g_gameOverScene->Enter();
        stageRunning = 0;
    }
    g_gameOverScene->Exec();
}

void SceneManager::RunQuit(bool)
{
    DestroyWindow(g_mainWindow);
}
