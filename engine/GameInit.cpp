#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/TaskList.h"
#include "game/SceneManager.h"
#include "platform/winmm/WinMM.h"

int GameInit()
{
    timeBeginPeriod(1);

    g_taskList = new TaskList;

    g_sceneManager = new SceneManager;
    if (g_sceneManager->CreateScenes() != 0) {
        return -5;
    }

    g_gameLock = GetGameLock();

    return 0;
}

void GameEnd()
{
    timeEndPeriod(1);
    if (g_gameLock) {
        g_gameLock->Shutdown();
        g_gameLock = nullptr;
    }
    if (g_sceneManager) {
        g_sceneManager->DeleteScenes();
    }
    delete g_errorReporter;
    g_errorReporter = nullptr;
    delete g_sceneManager;
    g_sceneManager = nullptr;
    delete g_taskList;
    g_taskList = nullptr;
}
