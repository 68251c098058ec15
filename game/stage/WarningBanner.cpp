#include "game/stage/WarningBanner.h"

#include <cstdint>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"

namespace {
constexpr int kSlot = 13;
constexpr int kTileWidth = 136;
}  // namespace

WarningBanner::WarningBanner()
{
    type = TaskType::Inert;
    g_soundEffectBank->SetRequest(SoundEffectId::Warning, 1);
}

WarningBanner* WarningBanner::Create(int priority)
{
    return InsertNew<WarningBanner>(priority);
}

void WarningBanner::Exec()
{
    x -= 80.0f * g_frameTime;
    if (x <= -8.0f) {
        x += static_cast<float>(kTileWidth);
    }
    int bandX = static_cast<int>(x);
    int top = static_cast<int>(y);
    for (int i = 0; i < 4; ++i) {
        DrawPiece(bandX + kTileWidth * i, top, 0, 0, kTileWidth, 40);
        DrawPiece(bandX + kTileWidth * i, top + 100, 0, 0, kTileWidth, 40);
    }
    if (g_sceneManager->GetLevel() < 3) {
        DrawPiece(188, top + 50, 0, 40, 72, 32);
        DrawPiece(260, top + 50, 0, 104, 192, 32);
    } else {
        DrawPiece(158, top + 50, 0, 72, 140, 32);
        DrawPiece(300, top + 50, 0, 104, 192, 32);
    }
    if (shown < 240.0f) {
        shown += 60.0f * g_frameTime;
        return;
    }
    if (alpha > 0.0f) {
        alpha -= 255.0f * g_frameTime;
    }
    if (alpha <= 0.0f) {
        g_taskList->Kill(this);
    }
}

void WarningBanner::DrawPiece(int px, int py, int srcX, int srcY, int w, int h) const
{
    std::uint32_t colour = WhiteWithAlpha(static_cast<int>(alpha));
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
    g_graphicsEngine->DrawSprite(px, py, kSlot, srcX, srcY, w, h);
}
