#include "engine/Application.h"

#include <new>

#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/GraphicsEngine.h"
#include "engine/Input.h"
#include "engine/MusicController.h"
#include "engine/MusicThread.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "platform/winmm/WinMM.h"

int GameInit()
{
    timeBeginPeriod(1);

    g_graphicsEngine = new (std::nothrow) GraphicsEngine;
    if (!g_graphicsEngine) {
        return -1;
    }
    int code = g_graphicsEngine->Init3D();
    if (code != 0) {
        if (g_errorReporter) {
            g_errorReporter->Report(ErrorStringId::Init3DFailed, code);
            if (code == -1) {
                g_errorReporter->Report(ErrorStringId::DirectXAdvice, 0);
            }
        }
        return -2;
    }

    g_taskList = new (std::nothrow) TaskList;
    if (!g_taskList) {
        return -3;
    }

    g_sceneManager = new (std::nothrow) SceneManager;
    if (!g_sceneManager) {
        return -4;
    }
    if (g_sceneManager->CreateScenes() != 0) {
        return -5;
    }

    g_gameLock = GetGameLock();

    g_input = new (std::nothrow) Input;
    if (!g_input) {
        return -6;
    }
    g_input->Init();

    g_scoreTable = new (std::nothrow) ScoreTable;
    if (!g_scoreTable) {
        return -7;
    }

    g_soundEffectBank = new (std::nothrow) SoundEffectBank;
    if (!g_soundEffectBank) {
        return -8;
    }
    if (!g_soundEffectBank->Init()) {
        return -9;
    }

    g_musicController = new (std::nothrow) MusicController;
    if (!g_musicController) {
        return -10;
    }

    if (_beginthread(MusicThread, 0, nullptr) != static_cast<UINT_PTR>(-1)) {
        WaitUntilMusicThreadCounted();
    }
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
    if (g_input) {
        g_input->Release();
    }
    delete g_musicController;
    g_musicController = nullptr;
    delete g_soundEffectBank;
    g_soundEffectBank = nullptr;
    delete g_graphicsEngine;
    g_graphicsEngine = nullptr;
    delete g_scoreTable;
    g_scoreTable = nullptr;
    delete g_input;
    g_input = nullptr;
    delete g_errorReporter;
    g_errorReporter = nullptr;
    delete g_sceneManager;
    g_sceneManager = nullptr;
    delete g_taskList;
    g_taskList = nullptr;
}
