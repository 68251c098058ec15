#include "game/screens/OptionScreen.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "game/scenes/SceneManager.h"

namespace {
constexpr int kEntries = 2;
}  // namespace

OptionScreen::OptionScreen()
{
    type = TaskType::Screen;
}

void OptionScreen::Exec()
{
    keys.Read();
    g_graphicsEngine->DrawSprite(260 + 20 * cursor, 268 + 48 * cursor, 6, 0, 56, 16, 16);
    // Kept in step with the menus, although no entry is drawn with the offset.
    Slide();
    HandleKeys();
}

void OptionScreen::Slide()
{
    if (slideVelocity > -slideAccel / 4.0f) {
        slideOffset += g_frameTime * slideVelocity;
        slideVelocity -= g_frameTime * slideAccel;
    } else {
        slideOffset = 0.0f;
    }
}

void OptionScreen::HandleKeys()
{
    if (keys.z == KeyState::Pressed) {
        if (cursor == 0) {
            if (keys.left == KeyState::Pressed || keys.right == KeyState::Pressed) {
                g_fogEnabled = g_fogEnabled ? 0 : 1;
            }
        } else {
            g_sceneManager->SetNextScene(SceneState::Title);
        }
    } else if (keys.x == KeyState::Pressed) {
        // Nothing to cancel.
    } else if (keys.up == KeyState::Pressed || keys.down == KeyState::Pressed) {
        g_soundEffectBank->SetRequest(SoundEffectId::CursorMove, 1);
        cursor = (cursor + (keys.up == KeyState::Pressed ? kEntries - 1 : 1)) % kEntries;
        slideOffset = 0.0f;
        slideVelocity = slideAccel / 2.0f;
    }
}
