#include "game/screens/MenuCursor.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskPriority.h"
#include "game/effects/Explosions.h"

void MenuCursor::Move(int delta, int entries)
{
    cursor = (cursor + delta + entries) % entries;
    slideOffset = 0.0f;
    slideVelocity = slideAccel / 4.0f;
}

void MenuCursor::Slide()
{
    if (slideVelocity > -slideAccel / 4.0f) {
        slideOffset += g_frameTime * slideVelocity;
        slideVelocity -= g_frameTime * slideAccel;
    } else {
        slideOffset = 0.0f;
    }
}

MenuCursor::Action MenuCursor::HandleKeys(const ScreenKeys& keys, int entries, float burstY)
{
    if (keys.z == KeyState::Pressed) {
        chosen = 1;
        g_soundEffectBank->SetRequest(SoundEffectId::MenuSelect, 1);
        ExplodeSmall(PriorityEnemy, 240.0f + 20.0f * cursor, burstY + 48.0f * cursor, 0);
        return Action::Chosen;
    }
    if (keys.x == KeyState::Pressed) {
        return Action::Cancelled;
    }
    if (keys.up == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        Move(-1, entries);
    } else if (keys.down == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        Move(1, entries);
    }
    return Action::None;
}

void MenuCursor::DrawEntries(const Entry* entries, int count, int slot,
                             const std::function<void(int offset)>& highlighted) const
{
    GraphicsEngine* g = g_graphicsEngine;
    int offset = static_cast<int>(slideOffset);
    for (int i = 0; i < count; ++i) {
        if (i == cursor) {
            g->DrawSprite(entries[i].x + offset, entries[i].y, slot, 0, entries[i].srcY, 160, 48);
            if (highlighted) {
                highlighted(offset);
            }
        } else {
            g->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
            g->DrawSprite(entries[i].x, entries[i].y, slot, 0, entries[i].srcY, 160, 48);
        }
    }
}
