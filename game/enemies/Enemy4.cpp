#include "game/enemies/Enemy4.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "game/enemies/CreateForLevel.h"

Enemy4::Enemy4(int param, float x, float y)
{
    SetupStandard(param, x, y, 60.0f + RandomRange(-5, 5), 200, true, 1, 4);
    AimAtPlayer(&direction);
}

Enemy4* Enemy4::Create(int priority, int param, float x, float y)
{
    return CreateForLevel<Enemy4, Enemy4L0, Enemy4L1, Enemy4L2, Enemy4L3>(priority, param, x, y);
}

bool Enemy4Rammer::TurnTowardShip()
{
    int aim;
    if (!AimAtPlayer(&aim)) {
        return false;
    }
    // The raw angles are compared, so the turn is not always the shorter way round, and a ship
    // dead ahead still moves the heading by a step: the rammer wobbles about its line.
    int step = static_cast<int>(200.0f * g_frameTime);
    direction += aim > direction ? step : -step;
    while (direction < 0) {
        direction += 360;
    }
    while (direction >= 360) {
        direction -= 360;
    }
    return true;
}

void Enemy4Rammer::Animate()
{
    frameTimer -= 100.0f * g_frameTime;
    if (frameTimer < 0.0f) {
        StepFrameBackAndForth(&frame, &frameStep);
        frameTimer = 20.0f;
    }
}

void Enemy4Rammer::Exec()
{
    // The digits go under this frame's sprite.
    DrawTargetSecond(false);
    if (homing && !TurnTowardShip()) {
        return;
    }
    if (homingTimer > 0.0f) {
        homingTimer -= 100.0f * g_frameTime;
    } else {
        homing = false;
    }

    Move();
    speed += acceleration * g_frameTime;

    Animate();
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 17, 48 * frame, 0, 48, 48);

    EndWhenDestroyedOrEscaped(1, ExplodeMedium);
}
