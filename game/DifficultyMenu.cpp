#include "game/DifficultyMenu.h"

#include <algorithm>

#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/Explosions.h"
#include "game/Fade.h"
#include "game/SceneManager.h"

namespace {
constexpr int kEntries = 3;
constexpr int kLevelOfEntry[kEntries] = {0, 2, 3};
}  // namespace

DifficultyMenu::DifficultyMenu()
{
    type = TaskType::Screen;
}

DifficultyMenu* DifficultyMenu::Create(int priority)
{
    return InsertNew<DifficultyMenu>(priority);
}

void DifficultyMenu::Exec()
{
    keys.Read();
    Draw();
    if (menu.chosen) {
        Fade::Create(PriorityFade, 16, SceneState::Stage, FadeMode::OutToBlack);
        return;
    }
    HandleKeys();
}

void DifficultyMenu::HandleKeys()
{
    if (keys.z == KeyState::Pressed) {
        menu.chosen = 1;
        g_soundEffectBank->SetRequest(SoundEffectId::MenuSelect, 1);
        ExplodeSmall(PriorityEnemy, 240.0f + 20.0f * menu.cursor, 284.0f + 48.0f * menu.cursor, 0);
        g_sceneManager->SetLevel(kLevelOfEntry[menu.cursor]);
    } else if (keys.x == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::MenuCancel, 1);
        g_sceneManager->SetNextScene(SceneState::Title);
    } else if (keys.up == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        menu.Move(-1, kEntries);
    } else if (keys.down == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        menu.Move(1, kEntries);
    }
}

void DifficultyMenu::Draw()
{
    GraphicsEngine* g = g_graphicsEngine;
    menu.Slide();
    int offset = static_cast<int>(menu.slideOffset);
    g->DrawSprite(138, 40, 10, 0, 192, 160, 48);
    g->DrawSprite(224 + 20 * menu.cursor, 268 + 48 * menu.cursor, 6, 0, 56, 16, 16);
    struct Entry {
        int x, y, srcY;
    } entries[kEntries] = {{244, 252, 0}, {264, 300, 96}, {284, 348, 144}};
    for (int i = 0; i < kEntries; ++i) {
        if (i == menu.cursor) {
            g->DrawSprite(entries[i].x + offset, entries[i].y, 10, 0, entries[i].srcY, 160, 48);
            // The preview dims while the entry slides out and returns as it slides back.
            std::uint32_t alpha = static_cast<std::uint32_t>(255 - std::min(16 * offset, 255));
            std::uint32_t colour = (alpha << 24) | 0x00FFFFFFu;
            g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
            g->DrawSprite(138 + offset, 100, 30 + menu.cursor, 0, 0, 168, 128);
            g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
            g->DrawSprite(300 + offset, 100, 30 + menu.cursor, 0, 128, 256, 128);
        } else {
            g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
            g->DrawSprite(entries[i].x, entries[i].y, 10, 0, entries[i].srcY, 160, 48);
        }
    }
}
