#include "game/scenes/GameOverScene.h"

#include "engine/TaskList.h"
#include "game/scenes/Fade.h"
#include "game/screens/GameOverScreen.h"
#include "game/scenes/SoundEffectPlayer.h"
#include "platform/win32/CRuntime.h"

GameOverScene* g_gameOverScene = nullptr;

void GameOverScene::Enter()
{
    crt::srand(8461);
    Fade::Create(PriorityFade, 16, SceneState::GameOver, FadeMode::InFromBlack);
    GameOverScreen::Create(PriorityScreen);
    SoundEffectPlayer::Create(PrioritySoundEffectPlayer);
}

void GameOverScene::Exec()
{
    g_taskList->RunAll();
}
