#include "game/bosses/BossL0Form1.h"

#include <initializer_list>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL0Form2.h"
#include "game/enemies/Enemy2.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"

namespace {
constexpr int kNextParam = 45;
}

BossL0Form1::BossL0Form1(int param) : BossSweepForm(param, &BossL0Form2::Create, kNextParam) {}

bool BossL0Form1::BarrageStep()
{
    return lap % 2 == 0 ? FanStep() : HomingPairStep();
}

void BossL0Form1::SweepStep()
{
    if (lap % 2 == 0) {
        AimedSpreadStep();
    } else {
        TwinStreamsStep();
    }
}

void BossL0Form1::SweepTurned(float escortX)
{
    if (lap == 0) {
        Enemy2::Create(PriorityEnemy, 255, escortX, -48.0f);
    }
    stepCounter = 0;
}

bool BossL0Form1::FanStep()
{
    int n = stepCounter;
    g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
    EnemyShot6::Create(PriorityPlayer, x + 4, y + 100, 400.0f, 180 + 45 * n, 1600.0f, 200.0f);
    EnemyShot6::Create(PriorityPlayer, x + w - 28, y + 100, 400.0f, 360 - 45 * n, 1600.0f, 200.0f);
    if (n < 4) {
        stepCounter += 1;
        attackTimer = 4.0f;
        return false;
    }
    attackTimer = 20.0f;
    return true;
}

bool BossL0Form1::HomingPairStep()
{
    int n = stepCounter;
    g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
    EnemyShot7::Create(PriorityPlayer, x + 4, y + 100, 100.0f, 180 + 45 * n, 40.0f);
    EnemyShot7::Create(PriorityPlayer, x + w - 4, y + 100, 100.0f, 360 - 45 * n, 40.0f);
    if (n < 2) {
        stepCounter += 1;
        attackTimer = 60.0f;
        return false;
    }
    attackTimer = 20.0f;
    return true;
}

void BossL0Form1::AimedSpreadStep()
{
    g_soundEffectBank->SetRequest(SoundEffectId::BossHitA, 1);
    AimAtPlayer(&aim);
    float cx = x + w / 2;
    if (stepCounter % 2 == 0) {
        for (int a : {aim - 30, aim, aim + 30}) {
            EnemyShot1::Create(PriorityPlayer, cx, y + 100, 160.0f, a, 0.0f);
        }
        attackTimer = 40.0f;
    } else {
        for (int a : {aim - 40, aim - 20, aim + 20, aim + 40}) {
            EnemyShot5::Create(PriorityPlayer, cx, y + 100, 200.0f, a, 0.0f, 0.0f);
        }
        attackTimer = 80.0f;
    }
    stepCounter += 1;
}

void BossL0Form1::TwinStreamsStep()
{
    g_soundEffectBank->SetRequest(SoundEffectId::BossHitC, 1);
    AimAtPlayer(&aim);
    float cx = x + w / 2;
    for (int a : {aim - 20, aim + 20}) {
        for (int i = 0; i < 4; ++i) {
            EnemyShot1::Create(PriorityPlayer, cx, y + 100, 200.0f + 10 * i, a, 20.0f * i);
        }
    }
    attackTimer = 120.0f;
    stepCounter += 1;
}
