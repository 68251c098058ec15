#include "game/bosses/BossL2Form2.h"

#include <initializer_list>
#include <new>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL2Form3.h"
#include "game/enemies/Enemy1.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"

namespace {
constexpr int kNextParam = 30;
}

BossL2Form2::BossL2Form2(int param, float x, float y)
    : BossStationForm(param, x, y, &BossL2Form3::Create, kNextParam)
{
}

Task* BossL2Form2::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL2Form2>(priority, param, x, y);
}

bool BossL2Form2::PatternStep()
{
    return lap == 0 ? DriftingStreamStep() : lap == 1 ? RingAndAimedStep() : OpenBarrageStep();
}

bool BossL2Form2::DriftingStreamStep()
{
    int n = stepCounter;
    if (n % 8 == 0) {
        AimAtPlayer(&aim);
    }
    if (n == 0 || n == 120) {
        Enemy1::Create(PriorityEnemy, 255, 160.0f, -48.0f);
    } else if (n == 60 || n == 180) {
        Enemy1::Create(PriorityEnemy, 255, 432.0f, -48.0f);
    }
    // The aim wanders between refreshes.
    aim += RandomRange(-50, 50);
    int s = RandomRange(120, 200);
    float cx = x + w / 2;
    float my = y + 100;
    EnemyShot5::Create(PriorityPlayer, cx, my, static_cast<float>(s), aim, 0.0f, 0.0f);
    EnemyShot5::Create(PriorityPlayer, cx, my, static_cast<float>(s - 10), aim, 0.0f, 0.0f);
    if (n < 240) {
        stepCounter += 1;
        attackTimer = 1.0f;
        return false;
    }
    attackTimer = 60.0f;
    return true;
}

bool BossL2Form2::RingAndAimedStep()
{
    int n = stepCounter;
    float cx = x + w / 2;
    float my = y + 100;
    if (n == 0) {
        // A ring of 36 in three speeds: two fast, one faster, three slow, around the circle.
        static constexpr float kSpeeds[6] = {180.0f, 200.0f, 180.0f, 100.0f, 100.0f, 100.0f};
        for (int i = 0; i < 36; ++i) {
            EnemyShot2::Create(PriorityPlayer, cx, my, kSpeeds[i % 6], 10 * i - 10, 0.0f, 1);
        }
    } else if (n == 1) {
        AimAtPlayer(&aim);
        EnemyShot2::Create(PriorityPlayer, cx, my, 300.0f, aim, 0.0f, 0);
    } else if (n <= 4) {
        AimAtPlayer(&aim);
        aim += RandomRange(-10, 10);
        EnemyShot2::Create(PriorityPlayer, cx, my, 400.0f, aim, 0.0f, 0);
    } else {
        for (int i = -7; i <= 7; ++i) {
            EnemyShot2::Create(PriorityPlayer, cx, my, 450.0f, aim + 20 * i, 1.0f, 0);
        }
        return true;
    }
    attackTimer = 20.0f;
    stepCounter += 1;
    return false;
}

bool BossL2Form2::OpenBarrageStep()
{
    int n = stepCounter;
    float my = y + 100;
    float right = x + w;
    if (n == 0) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossVoice, 1);
        attackTimer = 20.0f;
    } else if (n <= 5) {
        // Two rings of twelve from the sides, starting at rest and accelerating harder each step.
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitA, 1);
        int m = n % 3;
        for (int i = 0; i < 12; ++i) {
            EnemyShot2::Create(PriorityPlayer, x, my, 0.0f, 30 * i + 3 * m, 60.0f + 50 * n, m);
            EnemyShot2::Create(PriorityPlayer, right, my, 0.0f, 30 * i + 3 * m, 60.0f + 50 * n, m);
        }
        attackTimer = 10.0f;
    } else if (n <= 8) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitB, 1);
        AimAtPlayer(&aim);
        int s = 10 * (n - 5);
        for (int a : {aim - s, aim, aim + s}) {
            for (int j = 0; j < 4; ++j) {
                EnemyShot1::Create(PriorityPlayer, x + w / 2, my, 180.0f + 20 * j, a + 2 * j, 300.0f);
            }
        }
        attackTimer = 30.0f;
    } else if (n <= 13) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
        EnemyShot6::Create(PriorityPlayer, x, my, 180.0f, 220 + 2 * n, 0.0f, 0.0f);
        EnemyShot6::Create(PriorityPlayer, x, my, 180.0f, 300 - 2 * n, 0.0f, 0.0f);
        EnemyShot6::Create(PriorityPlayer, right, my, 180.0f, 320 - 2 * n, 0.0f, 0.0f);
        EnemyShot6::Create(PriorityPlayer, right, my, 180.0f, 240 + 2 * n, 0.0f, 0.0f);
        EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 210, 80.0f);
        EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 330, 80.0f);
        attackTimer = 30.0f;
    } else {
        return true;
    }
    stepCounter += 1;
    return false;
}
