#include "game/Enemy1.h"

#include <new>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/EnemyShot2.h"
#include "game/SceneManager.h"

namespace {

constexpr float kDashSpeed = 160.0f;
constexpr int kAboveShip = 96;

}  // namespace

Enemy1* Enemy1::Create(int priority, int param, float x, float y)
{
    int level = g_sceneManager ? g_sceneManager->GetLevel() : 0;
    Enemy1* enemy;
    switch (level) {
    case 1:
        enemy = new (std::nothrow) Enemy1L1(param, x, y);
        break;
    case 2:
        enemy = new (std::nothrow) Enemy1L2(param, x, y);
        break;
    case 3:
        enemy = new (std::nothrow) Enemy1L3(param, x, y);
        break;
    default:
        enemy = new (std::nothrow) Enemy1L0(param, x, y);
        break;
    }
    if (!enemy) {
        return nullptr;
    }
    g_taskList->Insert(enemy, priority);
    return enemy;
}

void Enemy1::Setup(int param, float x, float y, float startSpeed)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = startSpeed;
    direction = 270;
    stateIndex = 0;
    hp = 1;
    scoreValue = 200;
    targetSecond = TargetSecondFor(param, true, 2, 5);
    type = TaskType::Enemy;
}

void Enemy1::Move()
{
    x += g_cosTable[direction] * speed * g_frameTime;
    y -= g_sinTable[direction] * speed * g_frameTime;
}

void Enemy1::BrakeToStop(float accel)
{
    if (speed > 0.0f) {
        speed -= accel * g_frameTime;
    } else {
        speed = 0.0f;
        ++stateIndex;
    }
}

void Enemy1::SpeedUp(float accel)
{
    if (speed < kDashSpeed) {
        speed += accel * g_frameTime;
    }
}

void Enemy1::DrawCell(int cell) const
{
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 15, 48 * cell, 0, 48, 48);
}

void Enemy1::Blink(int* cell, float* timer)
{
    *timer -= 60.0f * g_frameTime;
    if (*timer < 0.0f) {
        *cell ^= 1;
        *timer = 1.0f;
    }
}

bool Enemy1::AimAtPlayer(int above, int* angle) const
{
    auto* player = static_cast<GameObject*>(TaskList::FindPlayer());
    if (!player) {
        return false;
    }
    Point own, target;
    GetCenter(&own);
    player->GetCenter(&target);
    *angle = AngleDeg(own.x, own.y, target.x, target.y - above);
    return true;
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

// ---- Level 0: at most one shot, off the aim line.

const Enemy1L0::Handler Enemy1L0::kStates[3] = {&Enemy1L0::Enter, &Enemy1L0::Aim, &Enemy1L0::Dash};

Enemy1L0::Enemy1L0(int param, float x, float y)
{
    Setup(param, x, y, 160.0f);
}

void Enemy1L0::Exec()
{
    RunFrame(this);
}

void Enemy1L0::Enter()
{
    Move();
    BrakeToStop(acceleration);
    Blink(&blinkCell, &blinkTimer);
    DrawCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void Enemy1L0::Aim()
{
    if (!AimAtPlayer(kAboveShip, &direction)) {
        return;
    }
    shotAngle = direction + RandomRange(-20, 20);
    stateIndex = 2;
    if (RandomRange(0, 2) == 0) {
        FireShot(180.0f, shotAngle, 0.0f, 0);
    }
    DrawCell(4);
}

void Enemy1L0::Dash()
{
    Move();
    SpeedUp(acceleration);
    DrawCell(2);
}

// ---- Level 1: level 0 and two shots during the dash.

const Enemy1L1::Handler Enemy1L1::kStates[3] = {&Enemy1L1::Enter, &Enemy1L1::Aim, &Enemy1L1::Dash};

Enemy1L1::Enemy1L1(int param, float x, float y)
{
    Setup(param, x, y, 160.0f);
}

void Enemy1L1::Exec()
{
    RunFrame(this);
}

void Enemy1L1::Enter()
{
    Move();
    BrakeToStop(acceleration);
    Blink(&blinkCell, &blinkTimer);
    DrawCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void Enemy1L1::Aim()
{
    if (!AimAtPlayer(kAboveShip, &direction)) {
        return;
    }
    shotAngle = direction + RandomRange(-20, 20);
    stateIndex = 2;
    if (RandomRange(0, 2) == 0) {
        FireShot(180.0f, shotAngle, 0.0f, 0);
    }
    DrawCell(4);
}

void Enemy1L1::Dash()
{
    Move();
    SpeedUp(acceleration);
    DrawCell(2);
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

// ---- Level 2: brakes while firing an aimed line, then dashes firing one every 100 ticks.

const Enemy1L2::Handler Enemy1L2::kStates[5] = {&Enemy1L2::Enter, &Enemy1L2::TakeAim, &Enemy1L2::BrakeAndFire,
                                                &Enemy1L2::ReAim, &Enemy1L2::DashAndFire};

Enemy1L2::Enemy1L2(int param, float x, float y)
{
    Setup(param, x, y, 160.0f + RandomRange(-10, 10));
}

void Enemy1L2::Exec()
{
    RunFrame(this);
}

void Enemy1L2::Enter()
{
    Move();
    if (speed > 80.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        stateIndex = 1;
    }
    Blink(&blinkCell, &blinkTimer);
    DrawCell(blinkCell);
}

void Enemy1L2::TakeAim()
{
    AimAtPlayer(0, &shotAngle);
    stateIndex = 2;
    DrawCell(2);
}

void Enemy1L2::FireStep()
{
    if (shotTimer > 0.0) {
        shotTimer -= 60.0 * g_frameTime;
        return;
    }
    if (shotCount % 2 == 0) {
        AimAtPlayer(0, &shotAngle);
        FireLine(shotAngle);
        shotTimer = 60.0;
    }
    ++shotCount;
    shotTimer += 20.0;
}

void Enemy1L2::BrakeAndFire()
{
    Move();
    BrakeToStop(acceleration);
    DrawCell(speed < 40.0f ? 3 : 2);
    if (shotCount < 2) {
        FireStep();
    }
}

void Enemy1L2::ReAim()
{
    if (!AimAtPlayer(kAboveShip, &direction)) {
        return;
    }
    shotCount = 0;
    shotTimer = 20.0;
    stateIndex = 4;
    DrawCell(4);
}

void Enemy1L2::DashAndFire()
{
    Move();
    SpeedUp(acceleration);
    DrawCell(2);
    FireStep();
}

// ---- Level 3: level 2's movement with line, fork and scatter volleys.

const Enemy1L3::Handler Enemy1L3::kStates[5] = {&Enemy1L3::Enter, &Enemy1L3::TakeAim, &Enemy1L3::BrakeAndFire,
                                                &Enemy1L3::ReAim, &Enemy1L3::DashAndFire};

Enemy1L3::Enemy1L3(int param, float x, float y)
{
    Setup(param, x, y, 160.0f + RandomRange(-10, 10));
}

void Enemy1L3::Exec()
{
    RunFrame(this);
}

void Enemy1L3::Enter()
{
    Move();
    if (speed > 80.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        stateIndex = 1;
    }
    Blink(&blinkCell, &blinkTimer);
    DrawCell(blinkCell);
}

void Enemy1L3::TakeAim()
{
    AimAtPlayer(0, &shotAngle);
    stateIndex = 2;
    DrawCell(2);
}

void Enemy1L3::FireScatter()
{
    for (int i = 0; i < 5; ++i) {
        shotAngle += RandomRange(-20, 20);
        FireShot(80.0f, shotAngle, 20.0f * i, 2);
    }
}

void Enemy1L3::BrakeAndFire()
{
    Move();
    BrakeToStop(acceleration);
    DrawCell(speed < 40.0f ? 3 : 2);
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

void Enemy1L3::ReAim()
{
    if (!AimAtPlayer(kAboveShip, &direction)) {
        return;
    }
    AimAtPlayer(0, &shotAngle);
    shotCount = 0;
    shotTimer = 30.0;
    stateIndex = 4;
    DrawCell(4);
}

void Enemy1L3::DashAndFire()
{
    Move();
    SpeedUp(acceleration);
    DrawCell(2);
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
        AimAtPlayer(0, &shotAngle);
        shotCount = 0;
        shotTimer = 25.0;
        break;
    }
    shotTimer += 5.0;
    ++shotCount;
}
