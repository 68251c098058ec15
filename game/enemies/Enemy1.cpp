#include "game/enemies/Enemy1.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/enemies/CreateForLevel.h"
#include "game/shots/EnemyShot2.h"

namespace {

constexpr int kAboveShip = 96;

}  // namespace

Enemy1* Enemy1::Create(int priority, int param, float x, float y)
{
    return CreateForLevel<Enemy1, Enemy1L0, Enemy1L1, Enemy1L2, Enemy1L3>(priority, param, x, y);
}

Enemy1::Enemy1(int param, float x, float y, float startSpeed)
{
    SetupStandard(param, x, y, startSpeed, 200, true);
}

void Enemy1::FireShot(float shotSpeed, int angle, float accel, int cell) const
{
    EnemyShot2::Create(PriorityPlayer, x + 24.0f, y + 37.0f, shotSpeed, angle, accel, cell);
}

void Enemy1::FireLine(int angle) const
{
    for (int i = 0; i < 6; ++i) {
        FireShot(160.0f + 10.0f * i, angle, 0.0f, 0);
    }
}

void Enemy1::FireFork(int angle) const
{
    for (int i = 0; i < 6; ++i) {
        FireShot(160.0f + 10.0f * i, angle - 30, 0.0f, 1);
        FireShot(160.0f + 10.0f * i, angle + 30, 0.0f, 1);
    }
}

// ---- Levels 0 and 1

const Enemy1Dasher::Handler Enemy1Dasher::kStates[3] = {&Enemy1Dasher::Enter, &Enemy1Dasher::Aim,
                                                         &Enemy1Dasher::Dash};

void Enemy1Dasher::Exec()
{
    // The last state never ends by itself.
    (this->*kStates[stateIndex < 2 ? stateIndex : 2])();
    FinishFrame();
}

void Enemy1Dasher::Enter()
{
    Move();
    BrakeToStop(acceleration);
    Blink(&blinkCell, &blinkTimer);
    DrawKindCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void Enemy1Dasher::Aim()
{
    if (!AimAtPlayer(&direction, kAboveShip)) {
        return;
    }
    shotAngle = direction + RandomRange(-20, 20);
    stateIndex = 2;
    if (RandomRange(0, 2) == 0) {
        FireShot(180.0f, shotAngle, 0.0f, 0);
    }
    DrawKindCell(4);
}

void Enemy1Dasher::Dash()
{
    Move();
    SpeedUp(acceleration);
    DrawKindCell(2);
    FireDuringDash();
}

void Enemy1L1::FireDuringDash()
{
    if (shotCount >= 2) {
        return;
    }
    if (shotTimer > 0.0) {
        shotTimer -= 60.0 * g_frameTime;
    } else {
        FireShot(180.0f, shotAngle, 0.0f, 0);
        shotTimer = 30.0;
        ++shotCount;
    }
}

// ---- Levels 2 and 3

Enemy1Gunner::Enemy1Gunner(int param, float x, float y) : Enemy1(param, x, y, 160.0f + RandomRange(-10, 10)) {}

const Enemy1Gunner::Handler Enemy1Gunner::kStates[5] = {&Enemy1Gunner::Enter, &Enemy1Gunner::TakeAim,
                                                         &Enemy1Gunner::BrakeAndFire, &Enemy1Gunner::ReAim,
                                                         &Enemy1Gunner::DashAndFire};

void Enemy1Gunner::Exec()
{
    // The last state never ends by itself.
    (this->*kStates[stateIndex < 4 ? stateIndex : 4])();
    FinishFrame();
}

void Enemy1Gunner::Enter()
{
    Move();
    if (speed > 80.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        stateIndex = 1;
    }
    Blink(&blinkCell, &blinkTimer);
    DrawKindCell(blinkCell);
}

void Enemy1Gunner::TakeAim()
{
    AimAtPlayer(&shotAngle);
    stateIndex = 2;
    DrawKindCell(2);
}

void Enemy1Gunner::BrakeAndFire()
{
    Move();
    BrakeToStop(acceleration);
    DrawKindCell(speed < 40.0f ? 3 : 2);
    FireWhileBraking();
}

void Enemy1Gunner::ReAim()
{
    if (!AimAtPlayer(&direction, kAboveShip)) {
        return;
    }
    RestartForDash();
    stateIndex = 4;
    DrawKindCell(4);
}

void Enemy1Gunner::DashAndFire()
{
    Move();
    SpeedUp(acceleration);
    DrawKindCell(2);
    FireWhileDashing();
}

// ---- Level 2: an aimed line every 100 ticks.

void Enemy1L2::FireStep()
{
    if (shotTimer > 0.0) {
        shotTimer -= 60.0 * g_frameTime;
        return;
    }
    if (shotCount % 2 == 0) {
        AimAtPlayer(&shotAngle);
        FireLine(shotAngle);
        shotTimer = 60.0;
    }
    ++shotCount;
    shotTimer += 20.0;
}

void Enemy1L2::FireWhileBraking()
{
    if (shotCount < 2) {
        FireStep();
    }
}

void Enemy1L2::RestartForDash()
{
    shotCount = 0;
    shotTimer = 20.0;
}

void Enemy1L2::FireWhileDashing()
{
    FireStep();
}

// ---- Level 3: line, fork and scatter volleys.

void Enemy1L3::FireScatter()
{
    for (int i = 0; i < 5; ++i) {
        shotAngle += RandomRange(-20, 20);
        FireShot(80.0f, shotAngle, 20.0f * i, 2);
    }
}

void Enemy1L3::FireWhileBraking()
{
    // Only the line and the fork volley fit under the limit of two.
    if (shotCount >= 2) {
        return;
    }
    if (shotTimer > 0.0) {
        shotTimer -= 60.0 * g_frameTime;
        return;
    }
    if (shotCount == 0) {
        FireLine(shotAngle);
    } else {
        FireFork(shotAngle);
    }
    shotTimer += 5.0;
    ++shotCount;
}

void Enemy1L3::RestartForDash()
{
    AimAtPlayer(&shotAngle);
    shotCount = 0;
    shotTimer = 30.0;
}

void Enemy1L3::FireWhileDashing()
{
    if (shotTimer > 0.0) {
        shotTimer -= 60.0 * g_frameTime;
        return;
    }
    switch (shotCount) {
    case 0:
        FireLine(shotAngle);
        break;
    case 1:
        FireFork(shotAngle);
        break;
    case 2:
        FireScatter();
        break;
    default:
        // A new aim; the count restarts at 1 below, so the line volley is not repeated.
        AimAtPlayer(&shotAngle);
        shotCount = 0;
        shotTimer = 25.0;
        break;
    }
    shotTimer += 5.0;
    ++shotCount;
}
