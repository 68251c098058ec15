#include "game/bosses/BossL3Form2.h"

#include <algorithm>
#include <new>

#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL3Form3.h"
#include "game/enemies/Enemy2.h"
#include "game/enemies/Enemy4.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/ShotEmitterB.h"

BossL3Form2::BossL3Form2(int param, float x, float y) : BossL3Form(40.0f, 5000, x, y, 2)
{
    type = TaskType::Enemy;
    targetSecond = FormTargetSecond(param, 4);
}

Task* BossL3Form2::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL3Form2>(priority, param, x, y);
}

void BossL3Form2::Exec()
{
    FightInPatterns();
    FinishBossFrame(&BossL3Form3::Create, 25);
}

bool BossL3Form2::PatternStep()
{
    return pattern == 0 ? SideFansStep() : ClosingPairStep();
}

bool BossL3Form2::SideFansStep()
{
    int n = stepCounter;
    stepCounter += 1;
    if (n == 0) {
        // Four emitters on each side wall; 498 is the right edge less an emitter's width.
        for (int i = 0; i < 4; ++i) {
            float ey = static_cast<float>(40 + 100 * i);
            ShotEmitterB::Create(PrioritySideFrame, 128.0f, ey, 180 + 30 * i);
            ShotEmitterB::Create(PrioritySideFrame, 498.0f, ey, 180 - 30 * i);
        }
        attackTimer = 120.0f;
        return false;
    }
    int m = (n - 1) % 16;
    if (m == 0 || m == 8) {
        AimAtPlayer(&aim);
    }
    if (m < 8) {
        EnemyShot2::Create(PriorityPlayer, x, y + 24, 100.0f, aim + m, 70.0f * (m + 1), 0);
    } else {
        EnemyShot2::Create(PriorityPlayer, x + 48, y + 24, 100.0f, aim - (m - 8), 70.0f * (m - 7), 1);
    }
    if (m == 15) {
        Enemy4::Create(PriorityEnemy, RandomRange(1, 3), CentreX(), CentreY());
    }
    attackTimer = m == 0 || m == 8 ? 1.0f : 10.0f;
    return stepCounter > 64;
}

bool BossL3Form2::ClosingPairStep()
{
    AimAtPlayer(&aim);
    int s = std::min(stepCounter, 80);
    EnemyShot2::Create(PriorityPlayer, CentreX(), CentreY(), 500.0f, aim + 90 - s, 0.0f, 2);
    EnemyShot2::Create(PriorityPlayer, CentreX(), CentreY(), 500.0f, aim - 90 + s, 0.0f, 2);
    stepCounter += 1;
    if (stepCounter % 128 == 1) {
        SummonColumn();
    }
    attackTimer = 1.0f;
    return stepCounter == 255;
}

void BossL3Form2::SummonColumn()
{
    // Three kind-2 enemies in adjacent columns on the far side, with offsets of 1 to 4 seconds.
    int p[3];
    for (int& v : p) {
        v = RandomRange(2, 5);
    }
    if (p[0] == p[1] || p[0] == p[2]) {
        p[RandomRange(0, 3)] -= 1;
    }
    int base = x > 320.0f ? 176 : 368;
    for (int i = 0; i < 3; ++i) {
        Enemy2::Create(PriorityEnemy, p[i], static_cast<float>(base + 32 * i), -48.0f);
    }
}
