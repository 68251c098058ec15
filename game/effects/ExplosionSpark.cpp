#include "game/effects/ExplosionSpark.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/MathUtil.h"
#include "engine/TaskList.h"

ExplosionSpark::ExplosionSpark(float cx, float cy, int row)
    : x(cx - 12.0f), y(cy - 3.0f), row(row), angle(RandomRange(0, 360))
{
    type = TaskType::Effect;
}

ExplosionSpark* ExplosionSpark::Create(int priority, float cx, float cy, int row)
{
    return InsertNew<ExplosionSpark>(priority, cx, cy, row);
}

void ExplosionSpark::Exec()
{
    if (alpha > 0.0f) {
        alpha -= 255.0f * g_frameTime;
        if (alpha < 0.0f) {
            alpha = 0.0f;
        }
    }
    MoveAlong(&x, &y, angle, speed);
    std::uint32_t colour = WhiteWithAlpha(static_cast<int>(alpha));
    g_graphicsEngine->SetRotation(static_cast<float>(-angle), 12.0f, 3.0f);
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 21, 0, 96 + 6 * row, 24, 6);
    if (speed > 100.0f) {
        speed -= decel * g_frameTime;
    } else {
        g_taskList->Kill(this);
    }
}
