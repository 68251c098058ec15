#include "game/Enemy5.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "game/CreateForLevel.h"
#include "game/Enemy5L3.h"

Enemy5::Enemy5(int param, float x, float y)
{
    // Parameter 255 has no random meaning for this kind.
    SetupStandard(param, x, y, 160.0f, 1000, false);
}

Enemy5* Enemy5::Create(int priority, int param, float x, float y)
{
    return CreateForLevel<Enemy5, Enemy5L0, Enemy5L1, Enemy5L2, Enemy5L3>(priority, param, x, y);
}

const Enemy5Diver::Handler Enemy5Diver::kHandlers[3] = {&Enemy5Diver::Brake, &Enemy5Diver::Face, &Enemy5Diver::Dive};

void Enemy5Diver::DrawCell(int cell) const
{
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 15, 48 * cell, 0, 48, 48);
}

void Enemy5Diver::Brake()
{
    Move();
    if (speed > 0.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        speed = 0.0f;
        stateIndex = 1;
    }
    blinkTimer -= 60.0f * g_frameTime;
    if (blinkTimer < 0.0f) {
        blinkCell ^= 1;
        blinkTimer = 1.0f;
    }
    DrawCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void Enemy5Diver::Face()
{
    if (!AimAtPlayer(&direction)) {
        return;
    }
    stateIndex = 2;
    DrawCell(4);
}

void Enemy5Diver::Dive()
{
    Move();
    if (speed < 160.0f) {
        speed += acceleration * g_frameTime;
    }
    DrawCell(2);
}

void Enemy5Diver::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishFrame(1);
}
