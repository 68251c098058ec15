#include "game/scenes/LoadingScene.h"

#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/GraphicsEngine.h"
#include "game/scenes/ResourceLoaderThread.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/Win32.h"

LoadingScene* g_loadingScene = nullptr;

void LoadingScene::Enter()
{
    tries = 0;
    g_scoreTable->Load();
    if (_beginthread(ResourceLoaderThread, 0, nullptr) != static_cast<UINT_PTR>(-1)) {
        WaitUntilResourceLoaderCounted();
    }
}

int LoadingScene::Exec()
{
    g_graphicsEngine->DrawText(500, 440, "Now", 0xFFFFFFFFu);
    g_graphicsEngine->DrawText(524, 440, "i", 0xFFFF0000u);
    g_graphicsEngine->DrawText(560, 440, "Loading", 0xFFFFFFFFu);

    g_gameLock->Lock(INFINITE, true);
    bool ready = g_sceneManager->IsMusicReady() && g_sceneManager->IsResourcesLoaded();
    g_gameLock->Unlock();
    if (ready) {
        return 1;
    }
    Sleep(500);
    if (tries >= 60) {
        g_errorReporter->Report(ErrorStringId::Timeout, 0);
        return -1;
    }
    ++tries;
    return 0;
}
