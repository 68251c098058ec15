#include "game/stage/Clock.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"

namespace {
// The three digit cells end at x + 68; beyond 999 the count holds, as the drawing has no
// fourth cell.
constexpr int kMaxSeconds = 999;
}

Clock::Clock(int x, int y) : x(x), y(y)
{
    type = TaskType::Clock;
}

Clock* Clock::Create(int priority, int x, int y)
{
    return InsertNew<Clock>(priority, x, y);
}

void Clock::SetPosition(int newX, int newY)
{
    x = newX;
    y = newY;
}

Clock::Visibility Clock::VisibilityNow() const
{
    int level = g_sceneManager ? g_sceneManager->GetLevel() : 0;
    if (level < 1 || seconds <= 9) {
        return Visibility::Plain;
    }
    if (seconds == 10) {
        return Visibility::Faint;
    }
    // From second 11 on, only three seconds around every thirtieth show.
    int r = (seconds - 10) % 30;
    if (r == 0) {
        return Visibility::Plain;
    }
    return r == 1 || r == 29 ? Visibility::Faint : Visibility::Hidden;
}

void Clock::Exec()
{
    // The second turns in a frame of its own, which adds no time: a clock second is a little
    // longer than a second of frame time.
    if (millis <= 1000.0f) {
        millis += g_frameTime * 1000.0f;
    } else {
        if (seconds < kMaxSeconds) {
            seconds += 1;
        }
        millis = 0.0f;
    }

    Visibility shown = VisibilityNow();
    if (shown == Visibility::Hidden) {
        return;
    }
    auto blend = [&] {
        if (shown == Visibility::Faint) {
            g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
        }
    };
    blend();
    g_graphicsEngine->DrawSprite(x, y, 6, 0, 24, 32, 32);
    int digits = seconds >= 100 ? 3 : seconds >= 10 ? 2 : seconds >= 1 ? 1 : 0;
    int remaining = seconds;
    int power = digits == 3 ? 100 : digits == 2 ? 10 : 1;
    for (int k = digits - 1; k >= 0; --k) {
        int digit = remaining / power;
        remaining %= power;
        power /= 10;
        blend();
        g_graphicsEngine->DrawSprite(x + 68 - 12 * (k + 1), y + 7, 7, 12 * digit, 0, 12, 18);
    }
}
