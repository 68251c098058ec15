#include "game/TitleScene.h"

#include "engine/TaskList.h"
#include "game/Backdrop.h"
#include "game/Fade.h"
#include "game/ScoreTable.h"
#include "game/SideFrame.h"
#include "game/SoundEffectPlayer.h"
#include "game/TitleMenu.h"
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
