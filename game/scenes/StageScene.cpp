#include "game/scenes/StageScene.h"

#include "engine/ErrorReporter.h"
#include "engine/TaskList.h"
#include "game/stage/Backdrop.h"
#include "game/scenes/Fade.h"
#include "game/player/PlayerShip.h"
#include "game/stage/SideFrame.h"
#include "game/scenes/SoundEffectPlayer.h"
#include "game/stage/StageOpening.h"
#include "game/scenes/TextureSlotMap.h"
#include "platform/win32/CRuntime.h"

StageScene* g_stageScene = nullptr;

void StageScene::Enter()
{
    crt::srand(8461);
    if (const char* failed = LoadTextureGroup(kStageTextures, 1, 3)) {
        g_errorReporter->ReportText(ErrorStringId::FileLoadFailed, failed);
    }
    Fade::Create(PriorityFade, 16, SceneState::Stage, FadeMode::InFromBlack);
    PlayerShip::Create(PriorityPlayer);
    Backdrop::Create(PriorityBackdrop, "back.x", "./img", 1.0f);
    SideFrame::Create(PrioritySideFrame);
    StageOpening::Create(PrioritySideFrame);
    SoundEffectPlayer::Create(PrioritySoundEffectPlayer);
}

void StageScene::Exec()
{
    g_taskList->RunAll();
}
