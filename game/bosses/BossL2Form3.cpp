#include "game/bosses/BossL2Form3.h"

#include <initializer_list>
#include <new>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot7.h"

BossL2Form3::BossL2Form3(int param, float x, float y) : BossSwayForm(param, x, y) {}

Task* BossL2Form3::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL2Form3>(priority, param, x, y);
}

bool BossL2Form3::PatternStep()
{
    return pattern <= 1 ? SideBarrageStep() : pattern == 2 ? RingsAndLinesStep() : CrossfireStep(1, 8, 4);
}

bool BossL2Form3::RingsAndLinesStep()
{
    int n = stepCounter;
    float cx = x + w / 2;
    float my = y + 100;
    if (n % 2 == 0) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitA, 1);
        for (int a = 0; a < 360; a += 30) {
            for (int s = 140; s <= 200; s += 20) {
                EnemyShot5::Create(PriorityPlayer, cx, my, static_cast<float>(s), a, 0.0f, 0.0f);
            }
        }
    } else {
        // Two lines that diverge on either side of the aim.
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitC, 1);
        AimAtPlayer(&aim);
        for (int j = 0; j < 4; ++j) {
            float s = 140.0f + 20 * j;
            EnemyShot1::Create(PriorityPlayer, cx, my, s, aim + 5 + j, 0.0f);
            EnemyShot1::Create(PriorityPlayer, cx, my, s, aim - 5 - j, 0.0f);
        }
    }
    attackTimer = static_cast<float>((8 - n) * 5);
    stepCounter += 1;
    return stepCounter == 8;
}

void BossL2Form3::SideHomingShots(int n)
{
    float my = y + 100;
    float right = x + w;
    EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 180, 80.0f);
    EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 360, 80.0f);
    EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 225, 80.0f);
    EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 315, 80.0f);
    if (n == 2) {
        EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 270, 80.0f);
        EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 270, 80.0f);
    }
}
