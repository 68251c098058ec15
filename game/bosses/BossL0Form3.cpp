#include "game/bosses/BossL0Form3.h"

#include <initializer_list>
#include <new>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot7.h"

BossL0Form3::BossL0Form3(int param, float x, float y) : BossSwayForm(param, x, y) {}

Task* BossL0Form3::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL0Form3>(priority, param, x, y);
}

bool BossL0Form3::PatternStep()
{
    return pattern <= 1 ? SideBarrageStep() : pattern == 2 ? RingsAndLinesStep() : CrossfireStep(0, 16, 1);
}

void BossL0Form3::SideHomingShots(int n)
{
    // A homing pair from the corners, leaving to the sides, then diagonally, then straight down.
    static constexpr int kAngles[3][2] = {{180, 360}, {225, 315}, {270, 270}};
    EnemyShot7::Create(PriorityPlayer, x, y + 100, 100.0f, kAngles[n][0], 40.0f);
    EnemyShot7::Create(PriorityPlayer, x + w, y + 100, 100.0f, kAngles[n][1], 40.0f);
}

bool BossL0Form3::RingsAndLinesStep()
{
    int n = stepCounter;
    float cx = x + w / 2;
    float my = y + 100;
    if (n % 2 == 0) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitA, 1);
        for (int a = 0; a < 360; a += 60) {
            for (int s = 140; s <= 200; s += 20) {
                EnemyShot5::Create(PriorityPlayer, cx, my, static_cast<float>(s), a, 0.0f, 0.0f);
            }
        }
    } else {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitC, 1);
        AimAtPlayer(&aim);
        for (int s = 140; s <= 200; s += 20) {
            EnemyShot1::Create(PriorityPlayer, cx, my, static_cast<float>(s), aim, 0.0f);
        }
    }
    attackTimer = static_cast<float>((8 - n) * 10);
    stepCounter += 1;
    return stepCounter == 6;
}
