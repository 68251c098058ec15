#include "game/screens/TitleMenu.h"

#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/effects/Explosions.h"
#include "game/scenes/Fade.h"

namespace {
constexpr int kEntries = 2;
}  // namespace

TitleMenu::TitleMenu()
{
    type = TaskType::Screen;
}

TitleMenu* TitleMenu::Create(int priority)
{
    return InsertNew<TitleMenu>(priority);
}

void TitleMenu::Exec()
{
    keys.Read();
    Draw();
    if (menu.chosen) {
        // Repeated each frame until the scene changes: the sheets add up.
        Fade::Create(PriorityFade, 16, menu.cursor == 0 ? SceneState::Difficulty : SceneState::Quit,
                     FadeMode::OutToBlack);
        return;
    }
    HandleKeys();
}

void TitleMenu::HandleKeys()
{
    // Nothing to cancel on the title.
    menu.HandleKeys(keys, kEntries, 320.0f);
}

void TitleMenu::Draw()
{
    GraphicsEngine* g = g_graphicsEngine;
    menu.Slide();
    g->DrawSprite(142, 40, 8, 0, 0, 256, 80);
    g->DrawSprite(398, 36, 8, 0, 76, 100, 80);
    g->DrawSprite(248, 448, 8, 0, 224, 154, 32);
    g->DrawSprite(224 + 20 * menu.cursor, 304 + 48 * menu.cursor, 6, 0, 56, 16, 16);
    static constexpr MenuCursor::Entry kEntryCells[kEntries] = {{244, 288, 0}, {264, 336, 144}};
    menu.DrawEntries(kEntryCells, kEntries, 9);
}
