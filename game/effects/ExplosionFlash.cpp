#include "game/effects/ExplosionFlash.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"

ExplosionFlash::ExplosionFlash(float cx, float cy, int row) : x(cx - 16.0f), y(cy - 16.0f), row(row)
{
    type = TaskType::Effect;
}

ExplosionFlash* ExplosionFlash::Create(int priority, float cx, float cy, int row)
{
    return InsertNew<ExplosionFlash>(priority, cx, cy, row);
}

void ExplosionFlash::Exec()
{
    scale += 16.0f * g_frameTime;
    if (alpha > 0.0f) {
        alpha -= 512.0f * g_frameTime;
        if (alpha < 0.0f) {
            alpha = 0.0f;
        }
    }
    if (frameTimer <= 0.0f) {
        frameTimer = 1.0f;
        ++frame;
    } else {
        frameTimer -= 60.0f * g_frameTime;
    }
    std::uint32_t colour = WhiteWithAlpha(static_cast<int>(alpha));
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
    g_graphicsEngine->SetScale(scale, scale);
    g_graphicsEngine->DrawSprite(static_cast<int>(x - 32.0f * scale / 2.0f), static_cast<int>(y - 32.0f * scale / 2.0f),
                                 21, 32 * frame, 32 * row, 32, 32);
    if (frame >= 7) {
        g_taskList->Kill(this);
    }
}
