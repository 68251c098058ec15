#include "game/enemies/Enemy2.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/enemies/CreateForLevel.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"

namespace {

constexpr std::uint32_t kTint = 0xFF80D0FFu;

}  // namespace

Enemy2* Enemy2::Create(int priority, int param, float x, float y)
{
    return CreateForLevel<Enemy2, Enemy2L0, Enemy2L1, Enemy2L2, Enemy2L3>(priority, param, x, y);
}

Enemy2::Enemy2(int param, float x, float y)
{
    SetupStandard(param, x, y, 160.0f, 240, true);
}

const Enemy2::Handler Enemy2::kStates[3] = {&Enemy2::Enter, &Enemy2::Fire, &Enemy2::Leave};

void Enemy2::Exec()
{
    // The last state never ends by itself.
    (this->*kStates[stateIndex < 2 ? stateIndex : 2])();
    FinishFrame();
}

void Enemy2::DrawCell(int cell) const
{
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), kTint);
    DrawKindCell(cell);
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

void Enemy2::EnterToStop()
{
    Move();
    if (speed > 0.0f) {
        speed -= 80.0f * g_frameTime;
    } else {
        speed = 0.0f;
        stateIndex = 1;
    }
    Blink(&blinkCell, &blinkTimer);
    DrawCell(blinkCell);
}

void Enemy2::FireStanding(int pairs, float gap, int widePairs, bool fan)
{
    if (volleyCount >= pairs) {
        stateIndex = 2;
        return;
    }
    if (volleyTimer > 0.0f) {
        volleyTimer -= 60.0f * g_frameTime;
    } else {
        if (volleyCount < widePairs) {
            FirePair(240, 300);
        } else {
            FirePair(260, 280);
        }
        if (fan && volleyCount == 6) {
            for (int i = 0; i < 7; ++i) {
                EnemyShot1::Create(PriorityPlayer, x + 24.0f, y + 37.0f, 180.0f, 270 + 10 * (i - 3), 0.0f);
            }
        }
        ++volleyCount;
        direction = 90;
        volleyTimer = gap;
    }
    DrawCell(4);
}

// ---- Level 0

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
