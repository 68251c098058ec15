#include "game/TitleMenu.h"

#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/Explosions.h"
#include "game/Fade.h"

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
    if (keys.z == KeyState::Pressed) {
        menu.chosen = 1;
        g_soundEffectBank->SetRequest(SoundEffectId::MenuSelect, 1);
        ExplodeSmall(PriorityEnemy, 240.0f + 20.0f * menu.cursor, 320.0f + 48.0f * menu.cursor, 0);
    } else if (keys.x == KeyState::Pressed) {
        // Nothing to cancel on the title.
    } else if (keys.up == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        menu.Move(-1, kEntries);
    } else if (keys.down == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        menu.Move(1, kEntries);
    }
}

void TitleMenu::Draw()
{
    GraphicsEngine* g = g_graphicsEngine;
    menu.Slide();
    int offset = static_cast<int>(menu.slideOffset);
    g->DrawSprite(142, 40, 8, 0, 0, 256, 80);
    g->DrawSprite(398, 36, 8, 0, 76, 100, 80);
    g->DrawSprite(248, 448, 8, 0, 224, 154, 32);
    g->DrawSprite(224 + 20 * menu.cursor, 304 + 48 * menu.cursor, 6, 0, 56, 16, 16);
    struct Entry {
        int x, y, srcY;
    } entries[kEntries] = {{244, 288, 0}, {264, 336, 144}};
    for (int i = 0; i < kEntries; ++i) {
        if (i == menu.cursor) {
            g->DrawSprite(entries[i].x + offset, entries[i].y, 9, 0, entries[i].srcY, 160, 48);
        } else {
            g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
            g->DrawSprite(entries[i].x, entries[i].y, 9, 0, entries[i].srcY, 160, 48);
        }
    }
}
