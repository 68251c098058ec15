#include "game/StageClearScene.h"

#include "engine/ErrorReporter.h"
#include "engine/TaskList.h"
#include "game/Fade.h"
#include "game/SoundEffectPlayer.h"
#include "game/StageClearTally.h"
#include "game/TextureSlotMap.h"

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
