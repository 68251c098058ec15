#include "game/effects/ExplosionDebris.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/MathUtil.h"
#include "engine/TaskList.h"

ExplosionDebris::ExplosionDebris(float x, float y)
    : x(x), y(y), speed(50.0f + static_cast<float>(RandomRange(0, 300))), angle(225 + RandomRange(0, 90))
{
    type = TaskType::Effect;
}

ExplosionDebris* ExplosionDebris::Create(int priority, float x, float y)
{
    return InsertNew<ExplosionDebris>(priority, x, y);
}

void ExplosionDebris::Exec()
{
    MoveAlong(&x, &y, angle, speed);
    speed -= (speed + 500.0f) * g_frameTime;
    // Brightest while fast, dimmer cells as it slows.
    int srcX;
    std::uint32_t colour;
    if (speed > 200.0f) {
        srcX = 0;
        colour = 0xFFFFFFFFu;
    } else if (speed > 100.0f) {
        srcX = 2;
        colour = 0xC0FFFFFFu;
    } else if (speed > 30.0f) {
        srcX = 4;
        colour = 0x80FFFFFFu;
    } else {
        srcX = 6;
        colour = 0x40FFFFFFu;
    }
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Additive), colour);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 21, srcX, 114, 2, 2);
    if (speed <= 0.0f || x < -2.0f || x > 642.0f || y < -2.0f || y > 482.0f) {
        g_taskList->Kill(this);
    }
}
