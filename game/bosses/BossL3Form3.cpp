#include "game/bosses/BossL3Form3.h"

#include <new>

#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL3Form4.h"
#include "game/enemies/Enemy1.h"
#include "game/shots/EnemyShot3.h"
#include "game/shots/EnemyShot4.h"
#include "game/shots/EnemyShot5.h"

BossL3Form3::BossL3Form3(int param, float x, float y) : BossL3Form(40.0f, 2000, x, y, 3)
{
    type = TaskType::Enemy;
    targetSecond = FormTargetSecond(param, 4);
}

Task* BossL3Form3::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL3Form3>(priority, param, x, y);
}

void BossL3Form3::Exec()
{
    FightInPatterns();
    FinishBossFrame(&BossL3Form4::Create, 30);
}

bool BossL3Form3::PatternStep()
{
    float cx = CentreX();
    float cy = CentreY();
    if (pattern == 0) {
        EnemyShot4::Create(PriorityPlayer, cx, cy, 200.0f, RandomRange(0, 360), 200.0f, 10.0f);
        for (int i = 0; i < 3; ++i) {
            EnemyShot5::Create(PriorityPlayer, cx, cy, 200.0f, RandomRange(0, 360), 0.0f, 0.0f);
        }
    } else if (pattern == 1) {
        for (int i = 0; i < 8; ++i) {
            EnemyShot3::Create(PriorityPlayer, cx, cy, 200.0f, 45 * i, 400.0f, 10.0f, 10);
        }
        float ex = RandomRange(0, 2) == 0 ? 224.0f : 368.0f;
        Enemy1::Create(PriorityEnemy, 255, ex, -48.0f);
    } else {
        AimAtPlayer(&aim);
        for (int j = -5; j <= 5; ++j) {
            EnemyShot5::Create(PriorityPlayer, cx, cy, 200.0f, aim + 2 * j, 0.0f, 0.0f);
        }
    }
    return true;
}
