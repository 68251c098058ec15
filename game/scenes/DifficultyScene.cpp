#include "game/scenes/DifficultyScene.h"

#include "engine/ErrorReporter.h"
#include "engine/TaskList.h"
#include "game/stage/Backdrop.h"
#include "game/screens/DifficultyMenu.h"
#include "game/scenes/Fade.h"
#include "game/stage/SideFrame.h"
#include "game/scenes/SoundEffectPlayer.h"
#include "game/scenes/TextureSlotMap.h"
#include "platform/win32/CRuntime.h"

DifficultyScene* g_difficultyScene = nullptr;

void DifficultyScene::Enter()
{
    crt::srand(8461);
    // One attempt: a failure is reported and the scene is still set up.
    if (const char* failed = LoadTextureGroup(kDifficultyTextures, 3, 0)) {
        g_errorReporter->ReportText(ErrorStringId::FileLoadFailed, failed);
    }
    Fade::Create(PriorityFade, 16, SceneState::Difficulty, FadeMode::InFromBlack);
    Backdrop::Create(PriorityBackdrop, "back.x", "./img", 1.0f);
    SideFrame::Create(PrioritySideFrame);
    DifficultyMenu::Create(PriorityScreen);
    SoundEffectPlayer::Create(PrioritySoundEffectPlayer);
}

void DifficultyScene::Exec()
{
    g_taskList->RunAll();
}
