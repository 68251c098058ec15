#include "game/bosses/BossL3Form4.h"

#include <initializer_list>
#include <new>

#include "engine/TaskList.h"
#include "game/shots/EnemyShot2.h"

BossL3Form4::BossL3Form4(int param, float x, float y) : BossL3Form(40.0f, 10000, x, y)
{
    type = TaskType::Enemy;
    // No random part: the last form is due exactly param seconds after it appears.
    targetSecond = param == 0 ? 0 : GetClockSeconds() + param;
}

Task* BossL3Form4::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL3Form4>(priority, param, x, y);
}

void BossL3Form4::Exec()
{
    Fight();
    FinishBossFrame(nullptr, 0, 20);
}

void BossL3Form4::Fight()
{
    if (!Sway()) {
        return;
    }
    Draw();
    if (attackTimer <= 0.0f) {
        PatternStep();
    } else {
        attackTimer -= TickStep();
    }
}

bool BossL3Form4::PatternStep()
{
    AimAtPlayer(&aim);
    float cx = CentreX();
    float cy = CentreY();
    if (openingCount < 15) {
        EnemyShot2::Create(PriorityPlayer, cx, cy, 250.0f, aim, 1.0f, 1);
        EnemyShot2::Create(PriorityPlayer, cx, cy, 250.0f, aim - 15, 2.0f, 1);
        EnemyShot2::Create(PriorityPlayer, cx, cy, 250.0f, aim + 15, 2.0f, 1);
        openingCount += 1;
        attackTimer = openingCount == 15 ? 240.0f : 1.0f;
        return false;
    }
    int c = stepCounter;
    if (c < 15) {
        for (int a : {aim - 15, aim, aim + 15}) {
            EnemyShot2::Create(PriorityPlayer, cx, cy, 400.0f, a, 0.0f, 1);
        }
    } else {
        EnemyShot2::Create(PriorityPlayer, cx, cy, 400.0f, aim + (c - 10), 0.0f, 2);
        EnemyShot2::Create(PriorityPlayer, cx, cy, 400.0f, aim - (c - 10), 0.0f, 2);
    }
    if (c & 4) {
        int a = (60 * cycleCount + 2 * c) % 256;
        EnemyShot2::Create(PriorityPlayer, x, y + 24, 250.0f, -a, 100.0f, 0);
        EnemyShot2::Create(PriorityPlayer, x, y + 24, 250.0f, -(a + 45), 100.0f, 0);
        EnemyShot2::Create(PriorityPlayer, x + 48, y + 24, 250.0f, a + 180, 100.0f, 0);
        EnemyShot2::Create(PriorityPlayer, x + 48, y + 24, 250.0f, a + 225, 100.0f, 0);
    }
    attackTimer = 1.0f;
    stepCounter += 1;
    if (stepCounter == 30) {
        cycleCount += 1;
        stepCounter = 0;
    }
    return false;
}
