#include "tests/game/enemies/KindFixture.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot5.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/win32/CRuntime.h"

void KindFixture::SetUp()
{
    CombatFixture::SetUp();
    g_scoreTable->ResetForGame();
    crt::srand(8461);
}

void KindFixture::TearDown()
{
    g_sceneManager->SetLevel(0);
    CombatFixture::TearDown();
}

void KindFixture::SetLevel(int level)
{
    g_sceneManager->SetLevel(level);
}

std::vector<FiredShot> KindFixture::Step(Enemy* enemy, float frameTime)
{
    RecordingDevice::From(g_graphicsEngine->GetDevice())->ClearCalls();
    g_graphicsEngine->SetDrawEnabled(true);
    g_frameTime = frameTime;
    enemy->Exec();
    std::vector<FiredShot> fired;
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state != TaskState::Live || t->type != TaskType::EnemyShot) {
            continue;
        }
        auto* shot = static_cast<EnemyShot*>(t);
        FiredShot f{0, shot->x + shot->w / 2.0f, shot->y + shot->h / 2.0f, shot->speed, shot->direction, shot->accel,
                    0, 0.0f};
        if (auto* two = dynamic_cast<EnemyShot2*>(shot)) {
            f.kind = 2;
            f.cell = two->cell;
        } else if (auto* five = dynamic_cast<EnemyShot5*>(shot)) {
            f.kind = 5;
            f.limit = five->limit;
        } else if (dynamic_cast<EnemyShot1*>(shot)) {
            f.kind = 1;
        }
        fired.push_back(f);
        g_taskList->Kill(shot);
    }
    return fired;
}

int KindFixture::StepUntilState(Enemy* enemy, int state, int maxFrames, std::vector<FiredShot>* shots)
{
    for (int frame = 1; frame <= maxFrames; ++frame) {
        auto fired = Step(enemy);
        if (shots) {
            shots->insert(shots->end(), fired.begin(), fired.end());
        }
        if (enemy->stateIndex == state) {
            return frame;
        }
    }
    return -1;
}

int KindFixture::DrawnCell(int slot) const
{
    auto sprites = SpritesFrom(slot);
    if (sprites.empty()) {
        return -1;
    }
    return sprites[0].srcX / 48;
}
