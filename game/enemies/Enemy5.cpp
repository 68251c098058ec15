#include "game/enemies/Enemy5.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"

Enemy5::Enemy5(int param, float x, float y)
{
    // Parameter 255 has no random meaning for this kind.
    SetupStandard(param, x, y, 160.0f, 1000, false);
}

const Enemy5Diver::Handler Enemy5Diver::kHandlers[3] = {&Enemy5Diver::Brake, &Enemy5Diver::Face, &Enemy5Diver::Dive};

void Enemy5Diver::Brake()
{
    Move();
    BrakeToStop(acceleration);
    Blink(&blinkCell, &blinkTimer);
    DrawKindCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void Enemy5Diver::Face()
{
    if (!AimAtPlayer(&direction)) {
        return;
    }
    stateIndex = 2;
    DrawKindCell(4);
}

void Enemy5Diver::Dive()
{
    Move();
    SpeedUp(acceleration);
    DrawKindCell(2);
}

void Enemy5Diver::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishFrame(1);
}
