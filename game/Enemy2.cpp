#include "game/Enemy2.h"

#include <new>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/EnemyShot1.h"
#include "game/EnemyShot2.h"
#include "game/SceneManager.h"

namespace {

constexpr std::uint32_t kTint = 0xFF80D0FFu;

}  // namespace

Enemy2* Enemy2::Create(int priority, int param, float x, float y)
{
    int level = g_sceneManager ? g_sceneManager->GetLevel() : 0;
    Enemy2* enemy;
    switch (level) {
    case 1:
        enemy = new (std::nothrow) Enemy2L1(param, x, y);
        break;
    case 2:
        enemy = new (std::nothrow) Enemy2L2(param, x, y);
        break;
    case 3:
        enemy = new (std::nothrow) Enemy2L3(param, x, y);
        break;
    default:
        enemy = new (std::nothrow) Enemy2L0(param, x, y);
        break;
    }
    if (!enemy) {
        return nullptr;
    }
    g_taskList->Insert(enemy, priority);
    return enemy;
}

void Enemy2::Setup(int param, float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 160.0f;
    direction = 270;
    stateIndex = 0;
    hp = 1;
    scoreValue = 240;
    targetSecond = TargetSecondFor(param, true, 2, 5);
    type = TaskType::Enemy;
}

void Enemy2::Move()
{
    x += g_cosTable[direction] * speed * g_frameTime;
    y -= g_sinTable[direction] * speed * g_frameTime;
}

void Enemy2::DrawCell(int cell) const
{
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), kTint);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 15, 48 * cell, 0, 48, 48);
}

void Enemy2::Blink(int* cell, float* timer)
{
    *timer -= 60.0f * g_frameTime;
    if (*timer < 0.0f) {
        *cell ^= 1;
        *timer = 1.0f;
    }
}

void Enemy2::FirePair(int left, int right) const
{
    EnemyShot2::Create(PriorityPlayer, x + 24.0f, y + 37.0f, 200.0f, left, 0.0f, 0);
    EnemyShot2::Create(PriorityPlayer, x + 24.0f, y + 37.0f, 200.0f, right, 0.0f, 0);
}

void Enemy2::Leave()
{
    Move();
    if (speed < 160.0f) {
        speed += 80.0f * g_frameTime;
    }
    DrawCell(2);
}

void Enemy2::EnterToStop(int* blinkCell, float* blinkTimer)
{
    Move();
    if (speed > 0.0f) {
        speed -= 80.0f * g_frameTime;
    } else {
        speed = 0.0f;
        stateIndex = 1;
    }
    Blink(blinkCell, blinkTimer);
    DrawCell(*blinkCell);
}

void Enemy2::FireStanding(int* volleyCount, float* volleyTimer, int pairs, float gap, int widePairs, bool fan)
{
    if (*volleyCount >= pairs) {
        stateIndex = 2;
        return;
    }
    if (*volleyTimer > 0.0f) {
        *volleyTimer -= 60.0f * g_frameTime;
    } else {
        if (*volleyCount < widePairs) {
            FirePair(240, 300);
        } else {
            FirePair(260, 280);
        }
        if (fan && *volleyCount == 6) {
            for (int i = 0; i < 7; ++i) {
                EnemyShot1::Create(PriorityPlayer, x + 24.0f, y + 37.0f, 180.0f, 270 + 10 * (i - 3), 0.0f);
            }
        }
        ++*volleyCount;
        direction = 90;
        *volleyTimer = gap;
    }
    DrawCell(4);
}

// ---- Level 0

const Enemy2L0::Handler Enemy2L0::kStates[3] = {&Enemy2L0::Enter, &Enemy2L0::Fire, &Enemy2L0::Leave};

Enemy2L0::Enemy2L0(int param, float x, float y)
{
    Setup(param, x, y);
}

void Enemy2L0::Exec()
{
    RunFrame(this);
}

void Enemy2L0::Enter()
{
    Move();
    if (speed > 0.0f) {
        speed -= 80.0f * g_frameTime;
    } else {
        speed = 5.0f;
        direction = 90;
        stateIndex = 1;
    }
    Blink(&blinkCell, &blinkTimer);
    DrawCell(blinkCell);
}

void Enemy2L0::Fire()
{
    Move();
    if (volleyCount >= 2) {
        stateIndex = 2;
        return;
    }
    if (volleyTimer > 0.0f) {
        volleyTimer -= 60.0f * g_frameTime;
    } else {
        FirePair(260, 280);
        ++volleyCount;
        volleyTimer = 60.0f;
    }
    Blink(&blinkCell, &blinkTimer);
    DrawCell(blinkCell);
}

// ---- Level 1: three narrow pairs 20 ticks apart.

const Enemy2L1::Handler Enemy2L1::kStates[3] = {&Enemy2L1::Enter, &Enemy2L1::Fire, &Enemy2L1::Leave};

Enemy2L1::Enemy2L1(int param, float x, float y)
{
    Setup(param, x, y);
}

void Enemy2L1::Exec()
{
    RunFrame(this);
}

void Enemy2L1::Enter()
{
    EnterToStop(&blinkCell, &blinkTimer);
}

void Enemy2L1::Fire()
{
    FireStanding(&volleyCount, &volleyTimer, 3, 20.0f, 0, false);
}

// ---- Level 2: a burst of six wide and six narrow pairs.

const Enemy2L2::Handler Enemy2L2::kStates[3] = {&Enemy2L2::Enter, &Enemy2L2::Fire, &Enemy2L2::Leave};

Enemy2L2::Enemy2L2(int param, float x, float y)
{
    Setup(param, x, y);
}

void Enemy2L2::Exec()
{
    RunFrame(this);
}

void Enemy2L2::Enter()
{
    EnterToStop(&blinkCell, &blinkTimer);
}

void Enemy2L2::Fire()
{
    FireStanding(&volleyCount, &volleyTimer, 12, 3.0f, 6, false);
}

// ---- Level 3: level 2's burst, faster, with a fan in its middle.

const Enemy2L3::Handler Enemy2L3::kStates[3] = {&Enemy2L3::Enter, &Enemy2L3::Fire, &Enemy2L3::Leave};

Enemy2L3::Enemy2L3(int param, float x, float y)
{
    Setup(param, x, y);
}

void Enemy2L3::Exec()
{
    RunFrame(this);
}

void Enemy2L3::Enter()
{
    EnterToStop(&blinkCell, &blinkTimer);
}

void Enemy2L3::Fire()
{
    FireStanding(&volleyCount, &volleyTimer, 12, 2.0f, 6, true);
}
