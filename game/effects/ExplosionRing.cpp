#include "game/effects/ExplosionRing.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"

ExplosionRing::ExplosionRing(float cx, float cy, int row, int mode)
    : x(cx - 16.0f), y(cy - 16.0f), row(row), mode(mode)
{
    type = TaskType::Effect;
}

ExplosionRing* ExplosionRing::Create(int priority, float cx, float cy, int row, int mode)
{
    return InsertNew<ExplosionRing>(priority, cx, cy, row, mode);
}

void ExplosionRing::Exec()
{
    if (alpha > 0.0f) {
        alpha -= static_cast<float>(static_cast<int>(512.0f * g_frameTime) % 256);
        if (alpha < 0.0f) {
            alpha = 0.0f;
        }
    }
    std::uint32_t colour = WhiteWithAlpha(static_cast<int>(alpha));
    g_graphicsEngine->SetScale(scale, scale);
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
    g_graphicsEngine->DrawSprite(static_cast<int>(x - 64.0f * scale / 2.0f), static_cast<int>(y - 64.0f * scale / 2.0f),
                                 21, 24 + 64 * row, 96, 64, 64);
    float limit = mode == 0 ? 4.0f : 8.0f;
    float growth = mode == 0 ? 8.0f : 16.0f;
    if (scale < limit) {
        scale += growth * g_frameTime;
    } else {
        g_taskList->Kill(this);
    }
}
