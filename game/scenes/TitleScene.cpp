#include "game/scenes/TitleScene.h"

#include "engine/TaskList.h"
#include "game/stage/Backdrop.h"
#include "game/scenes/Fade.h"
#include "game/score/ScoreTable.h"
#include "game/stage/SideFrame.h"
#include "game/scenes/SoundEffectPlayer.h"
#include "game/screens/TitleMenu.h"
#include "platform/win32/CRuntime.h"

TitleScene* g_titleScene = nullptr;

void TitleScene::Enter()
{
    crt::srand(8461);
    g_scoreTable->ResetForGame();
    Fade::Create(PriorityFade, 16, SceneState::Title, FadeMode::InFromBlack);
    Backdrop::Create(PriorityBackdrop, "back.x", "./img", 1.0f);
    SideFrame::Create(PrioritySideFrame);
    TitleMenu::Create(PriorityScreen);
    SoundEffectPlayer::Create(PrioritySoundEffectPlayer);
}

void TitleScene::Exec()
{
    g_taskList->RunAll();
}
