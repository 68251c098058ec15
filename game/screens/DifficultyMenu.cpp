#include "game/screens/DifficultyMenu.h"

#include <algorithm>

#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/effects/Explosions.h"
#include "game/scenes/Fade.h"
#include "game/scenes/SceneManager.h"

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
    switch (menu.HandleKeys(keys, kEntries, 284.0f)) {
    case MenuCursor::Action::Chosen:
        g_sceneManager->SetLevel(kLevelOfEntry[menu.cursor]);
        break;
    case MenuCursor::Action::Cancelled:
        g_soundEffectBank->SetRequest(SoundEffectId::MenuCancel, 1);
        g_sceneManager->SetNextScene(SceneState::Title);
        break;
    case MenuCursor::Action::None:
        break;
    }
}

void DifficultyMenu::Draw()
{
    GraphicsEngine* g = g_graphicsEngine;
    menu.Slide();
    g->DrawSprite(138, 40, 10, 0, 192, 160, 48);
    g->DrawSprite(224 + 20 * menu.cursor, 268 + 48 * menu.cursor, 6, 0, 56, 16, 16);
    static constexpr MenuCursor::Entry kEntryCells[kEntries] = {{244, 252, 0}, {264, 300, 96}, {284, 348, 144}};
    menu.DrawEntries(kEntryCells, kEntries, 10, [&](int offset) {
        // The preview dims while the entry slides out and returns as it slides back.
        std::uint32_t colour = WhiteWithAlpha(255 - std::min(16 * offset, 255));
        g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
        g->DrawSprite(138 + offset, 100, 30 + menu.cursor, 0, 0, 168, 128);
        g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
        g->DrawSprite(300 + offset, 100, 30 + menu.cursor, 0, 128, 256, 128);
    });
}
