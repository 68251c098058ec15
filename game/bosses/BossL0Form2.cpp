#include "game/bosses/BossL0Form2.h"

#include <new>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL0Form3.h"
#include "game/enemies/Enemy1.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"

namespace {
constexpr int kNextParam = 30;
}

BossL0Form2::BossL0Form2(int param, float x, float y)
    : BossStationForm(param, x, y, &BossL0Form3::Create, kNextParam)
{
}

Task* BossL0Form2::Create(int priority, int param, float x, float y)
{
    return InsertNew<BossL0Form2>(priority, param, x, y);
}

bool BossL0Form2::PatternStep()
{
    return lap == 0 ? SprayStep() : lap == 1 ? ClosingFanStep() : OpenBarrageStep();
}

void BossL0Form2::PatternEnded()
{
    Enemy1::Create(PriorityEnemy, 255, stepCounter % 2 == 0 ? 160.0f : 432.0f, -48.0f);
}

bool BossL0Form2::SprayStep()
{
    int angle = RandomRange(220, 320);
    int shotSpeed = RandomRange(120, 200);
    EnemyShot5::Create(PriorityPlayer, x + w / 2, y + 100, static_cast<float>(shotSpeed), angle, 0.0f, 0.0f);
    if (stepCounter < 80) {
        stepCounter += 1;
        attackTimer = 5.0f;
        return false;
    }
    attackTimer = 60.0f;
    return true;
}

bool BossL0Form2::ClosingFanStep()
{
    int n = stepCounter;
    float cx = x + w / 2;
    float my = y + 100;
    if (n == 0) {
        AimAtPlayer(&aim);
        EnemyShot2::Create(PriorityPlayer, cx, my, 200.0f, aim, 0.0f, 1);
    } else if (n == 1) {
        EnemyShot2::Create(PriorityPlayer, cx, my, 200.0f, aim - 30, 0.0f, 0);
        EnemyShot2::Create(PriorityPlayer, cx, my, 200.0f, aim + 30, 0.0f, 0);
    } else if (n <= 4) {
        EnemyShot2::Create(PriorityPlayer, x, my, 200.0f, 270, 0.0f, 2);
        EnemyShot2::Create(PriorityPlayer, x + w, my, 200.0f, 270, 0.0f, 2);
    } else {
        for (int i = -7; i <= 7; ++i) {
            EnemyShot2::Create(PriorityPlayer, cx, my, 200.0f, aim + 20 * i, 1.0f, 0);
        }
        return true;
    }
    attackTimer = 20.0f;
    stepCounter += 1;
    return false;
}

bool BossL0Form2::OpenBarrageStep()
{
    int n = stepCounter;
    float my = y + 100;
    float right = x + w;
    if (n == 0) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossVoice, 1);
        attackTimer = 40.0f;
    } else if (n <= 5) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitA, 1);
        EnemyShot1::Create(PriorityPlayer, x, my, 100.0f, 270, 50.0f * n);
        EnemyShot1::Create(PriorityPlayer, right, my, 100.0f, 270, 50.0f * n);
        attackTimer = 10.0f;
    } else if (n <= 8) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitB, 1);
        AimAtPlayer(&aim);
        EnemyShot1::Create(PriorityPlayer, x + w / 2, my, 180.0f, aim, 0.0f);
        attackTimer = 30.0f;
    } else {
        // Two pairs of large shots closing in from each side, and from n = 10 a homing pair.
        static constexpr int kLeft[3][2] = {{220, 300}, {230, 290}, {240, 280}};
        static constexpr int kRight[3][2] = {{320, 240}, {310, 250}, {300, 260}};
        int k = n - 9;
        g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
        for (int a : kLeft[k]) {
            EnemyShot6::Create(PriorityPlayer, x, my, 180.0f, a, 0.0f, 0.0f);
        }
        for (int a : kRight[k]) {
            EnemyShot6::Create(PriorityPlayer, right, my, 180.0f, a, 0.0f, 0.0f);
        }
        if (n == 10) {
            EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 180, 40.0f);
            EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 360, 40.0f);
        } else if (n == 11) {
            EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 210, 40.0f);
            EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 330, 40.0f);
        }
        attackTimer = n == 9 ? 30.0f : 15.0f;
    }
    stepCounter += 1;
    return n == 11;
}
