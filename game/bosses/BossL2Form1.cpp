#include "game/bosses/BossL2Form1.h"

#include <initializer_list>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL2Form2.h"
#include "game/enemies/Enemy2.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"

namespace {
constexpr int kNextParam = 45;
}

BossL2Form1::BossL2Form1(int param) : BossSweepForm(param, &BossL2Form2::Create, kNextParam) {}

bool BossL2Form1::BarrageStep()
{
    return lap % 2 == 0 ? WideFanStep() : HomingBurstStep();
}

void BossL2Form1::SweepStep()
{
    if (lap % 2 == 0) {
        SpiralsStep();
    } else {
        SweepingStreamStep();
    }
}

// No escorts here, and the step counter runs on from one sweep state into the next; only the
// barrage and the return reset it.
void BossL2Form1::SweepTurned(float) {}

bool BossL2Form1::WideFanStep()
{
    int n = stepCounter;
    float my = y + 100;
    g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
    for (float limit : {160.0f, 190.0f, 220.0f, 250.0f}) {
        EnemyShot6::Create(PriorityPlayer, x + 4, my, 400.0f, 180 + 15 * n, 1600.0f, limit);
        EnemyShot6::Create(PriorityPlayer, x + 4, my, 400.0f, 225 + 15 * n, 1600.0f, limit);
        EnemyShot6::Create(PriorityPlayer, x + w - 28, my, 400.0f, 360 - 15 * n, 1600.0f, limit);
        EnemyShot6::Create(PriorityPlayer, x + w - 28, my, 400.0f, 315 - 15 * n, 1600.0f, limit);
    }
    // Groups of resting shots that stretch into lines, alternately from the left and right edge:
    // a pair of lines on even steps, three on odd ones.
    AimAtPlayer(&aim);
    int r = n % 4;
    float sx = r == 0 || r == 3 ? x : x + w;
    if (r % 2 == 0) {
        for (int i = 0; i < 6; ++i) {
            EnemyShot2::Create(PriorityPlayer, sx, my, 0.0f, aim - 20, 80.0f + 20 * i, 0);
            EnemyShot2::Create(PriorityPlayer, sx, my, 0.0f, aim + 20, 80.0f + 20 * i, 0);
        }
    } else {
        for (int a : {aim + 30, aim, aim - 30}) {
            for (int i = 0; i < 6; ++i) {
                EnemyShot2::Create(PriorityPlayer, sx, my, 0.0f, a, 80.0f + 20 * i, 1);
            }
        }
    }
    if (n < 12) {
        stepCounter += 1;
        attackTimer = 4.0f;
        return false;
    }
    attackTimer = 20.0f;
    return true;
}

bool BossL2Form1::HomingBurstStep()
{
    int n = stepCounter;
    float my = y + 100;
    g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
    EnemyShot7::Create(PriorityPlayer, x + 4, my, 100.0f, 180 + 45 * n, 80.0f);
    EnemyShot7::Create(PriorityPlayer, x + w - 4, my, 100.0f, 360 - 45 * n, 80.0f);
    AimAtPlayer(&aim);
    aim += RandomRange(-20, 20);
    for (float limit : {260.0f, 270.0f, 280.0f, 290.0f, 300.0f}) {
        EnemyShot6::Create(PriorityPlayer, x + w / 2, my, 400.0f, aim, 1600.0f, limit);
    }
    if (n == 0) {
        Enemy2::Create(PriorityEnemy, 2, 160.0f, -48.0f);
        Enemy2::Create(PriorityEnemy, 4, 432.0f, -48.0f);
    }
    if (n < 4) {
        stepCounter += 1;
        attackTimer = 60.0f;
        return false;
    }
    attackTimer = 20.0f;
    return true;
}

void BossL2Form1::SpiralsStep()
{
    int n = stepCounter;
    float cx = x + w / 2;
    float my = y + 100;
    int r = n % 10;
    if (r == 4 || r == 5) {
        AimAtPlayer(&aim);
        EnemyShot1::Create(PriorityPlayer, cx, my, 80.0f, aim, 0.0f);
    } else {
        // Two streams turning five degrees a step in opposite senses.
        EnemyShot1::Create(PriorityPlayer, cx, my, 160.0f, 360 - 5 * n, 0.0f);
        EnemyShot1::Create(PriorityPlayer, cx, my, 160.0f, 180 + 5 * n, 0.0f);
    }
    attackTimer = 2.0f;
    stepCounter += 1;
}

void BossL2Form1::SweepingStreamStep()
{
    int n = stepCounter;
    int r = n % 8;
    if (r == 0) {
        AimAtPlayer(&aim);
    }
    int angle = r < 4 ? aim - 9 + 3 * r : aim + 9 - 3 * r;
    EnemyShot5::Create(PriorityPlayer, x + w / 2, y + 100, 360.0f, angle, 0.0f, 0.0f);
    if (n > 30) {
        // Corner shots that brake from 360 to 160 px/s.
        float top = y + 8;
        for (float sx : {x, x + 8, x + w, x + w - 8}) {
            EnemyShot5::Create(PriorityPlayer, sx, top, 360.0f, aim, 500.0f, 160.0f);
        }
    }
    if (r == 3 || r == 7) {
        // The pauses between groups of four shrink as the stream goes on.
        attackTimer = n <= 24 ? static_cast<float>(30 - n) : 6.0f;
    } else {
        attackTimer = 3.0f;
    }
    stepCounter += 1;
}
