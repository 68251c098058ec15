#include "game/scenes/StageClearScene.h"

#include "engine/ErrorReporter.h"
#include "engine/TaskList.h"
#include "game/scenes/Fade.h"
#include "game/scenes/SoundEffectPlayer.h"
#include "game/screens/StageClearTally.h"
#include "game/scenes/TextureSlotMap.h"

StageClearScene* g_stageClearScene = nullptr;

void StageClearScene::Enter()
{
    if (const char* failed = LoadTextureGroup(kStageClearTextures, 6, 3)) {
        g_errorReporter->ReportText(ErrorStringId::FileLoadFailed, failed);
    }
    Fade::Create(PriorityFade, 16, SceneState::StageClear, FadeMode::InFromWhite);
    StageClearTally::Create(PriorityEnemy);
    SoundEffectPlayer::Create(PrioritySoundEffectPlayer);
}

void StageClearScene::Exec()
{
    g_taskList->RunAll();
}
