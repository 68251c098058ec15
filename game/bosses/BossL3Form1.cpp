#include "game/bosses/BossL3Form1.h"

#include <initializer_list>

#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL3Form2.h"
#include "game/enemies/Enemy4.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/ShotEmitterA.h"

BossL3Form1::BossL3Form1(int param) : BossL3Form(80.0f, 3000, 128.0f, 480.0f, 3)
{
    // A target only once it has risen into place.
    type = TaskType::Inert;
    stateIndex = 0;
    targetSecond = FormTargetSecond(param, 4);
}

void BossL3Form1::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishBossFrame(&BossL3Form2::Create, 40);
}

void BossL3Form1::Rise()
{
    Move();
    Draw();
    if (y < 100.0f) {
        frame = 1;
        speed = 0.0f;
        stateIndex = 1;
        type = TaskType::Enemy;
    }
}

bool BossL3Form1::PatternStep()
{
    return pattern == 0 ? RingsStep() : pattern == 1 ? SpreadsStep() : EmittersStep();
}

bool BossL3Form1::RingsStep()
{
    int n = stepCounter;
    float cx = CentreX();
    float cy = CentreY();
    switch (n % 8) {
    case 0:
        for (int i = 0; i < 36; ++i) {
            EnemyShot2::Create(PriorityPlayer, cx, cy, 200.0f, 10 * i + 5 * n, 0.0f, 1);
        }
        break;
    case 1:
        for (int i = 0; i < 36; ++i) {
            EnemyShot2::Create(PriorityPlayer, cx, cy, 200.0f, 10 * i + 5 * n - 7, 0.0f, 1);
            EnemyShot2::Create(PriorityPlayer, cx, cy, 200.0f, 10 * i + 5 * n - 3, 0.0f, 1);
        }
        break;
    default:
        for (int i = 0; i < 8; ++i) {
            EnemyShot2::Create(PriorityPlayer, cx, cy, 260.0f, 45 * i + n, 0.0f, 0);
        }
        break;
    }
    if (n % 16 == 1) {
        AimAtPlayer(&aim);
        const float origins[5][2] = {{cx, cy}, {x, y}, {x + 48, y}, {x, y + 48}, {x + 48, y + 48}};
        for (const auto& o : origins) {
            EnemyShot2::Create(PriorityPlayer, o[0], o[1], 120.0f, aim, 0.0f, 2);
        }
    }
    attackTimer = 1.0f;
    stepCounter += 1;
    return stepCounter == 180;
}

bool BossL3Form1::SpreadsStep()
{
    int n = stepCounter;
    float cx = CentreX();
    float cy = CentreY();
    if (n == 0 || n == 7) {
        Enemy4::Create(PriorityEnemy, 255, cx, cy);
    }
    AimAtPlayer(&aim);
    if (n == 0) {
        EnemyShot1::Create(PriorityPlayer, cx, cy, 250.0f, aim - 40, 0.0f);
        EnemyShot1::Create(PriorityPlayer, cx, cy, 250.0f, aim + 40, 0.0f);
    } else {
        switch (RandomRange(0, 3)) {
        case 0:
            for (int a : {aim + 5, aim, aim - 5}) {
                EnemyShot1::Create(PriorityPlayer, cx, cy, 250.0f, a, 0.0f);
            }
            break;
        case 1:
            EnemyShot1::Create(PriorityPlayer, cx, cy, 250.0f, aim - 20, 0.0f);
            EnemyShot1::Create(PriorityPlayer, cx, cy, 250.0f, aim + 20, 0.0f);
            break;
        default:
            // Twelve shots two degrees apart with a gap around the aim itself.
            for (int j = -7; j <= 7; ++j) {
                if (j < -1 || j > 1) {
                    EnemyShot1::Create(PriorityPlayer, cx, cy, 250.0f, aim - 2 * j, 0.0f);
                }
            }
            break;
        }
    }
    attackTimer = 10.0f;
    stepCounter += 1;
    return stepCounter == 8;
}

bool BossL3Form1::EmittersStep()
{
    int n = stepCounter;
    stepCounter += 1;
    if (n == 0) {
        ShotEmitterA::Create(PrioritySideFrame, x, y, 210, 180);
        ShotEmitterA::Create(PrioritySideFrame, x + 48, y, 330, 0);
        ShotEmitterA::Create(PrioritySideFrame, x, y, 225, 315);
        ShotEmitterA::Create(PrioritySideFrame, x + 48, y, 315, 225);
        attackTimer = 20.0f;
        return false;
    }
    AimAtPlayer(&aim);
    if (n % 8 != 1) {
        EnemyShot2::Create(PriorityPlayer, CentreX(), CentreY(), 160.0f, aim, 0.0f, 0);
    }
    attackTimer = 2.0f;
    return stepCounter == 200;
}
