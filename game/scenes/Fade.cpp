#include "game/scenes/Fade.h"

#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"

const Fade::Handler Fade::kHandlers[4] = {&Fade::FadeIn, &Fade::FadeOut, &Fade::FadeIn, &Fade::FadeOut};

Fade::Fade(int step, SceneState target, FadeMode mode)
    : started(0), step(step), target(target), mode(mode), colour(0xFFFFFFFFu)
{
    if (this->step <= 0 || this->step > 16) {
        this->step = 16;
    }
    int m = static_cast<int>(mode);
    if (m < 0 || m > 3) {
        this->mode = FadeMode::InFromBlack;
    }
    type = TaskType::Screen;
}

Fade* Fade::Create(int priority, int step, SceneState target, FadeMode mode)
{
    return InsertNew<Fade>(priority, step, target, mode);
}

void Fade::Exec()
{
    if (!started) {
        bool fadingIn = mode == FadeMode::InFromBlack || mode == FadeMode::InFromWhite;
        colour = fadingIn ? 0xFFFFFFFFu : 0x00FFFFFFu;
        started = 1;
        // A fade-in is created as its scene starts: covering that first frame at full opacity
        // keeps the scene from flashing up unfaded before the sheet lifts. A fade-out's first
        // sheet would be clear, so it draws nothing.
        if (fadingIn) {
            DrawSheet();
        }
        return;
    }
    (this->*kHandlers[static_cast<int>(mode)])();
}

void Fade::FadeIn()
{
    int alpha = GetAlpha() - step;
    colour = WhiteWithAlpha(alpha);
    DrawSheet();
    if (alpha <= 16) {
        Finish();
    }
}

void Fade::FadeOut()
{
    int alpha = GetAlpha() + step;
    colour = WhiteWithAlpha(alpha);
    DrawSheet();
    if (alpha >= 240) {
        Finish();
    }
}

void Fade::DrawSheet()
{
    bool black = mode == FadeMode::InFromBlack || mode == FadeMode::OutToBlack;
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), colour);
    g_graphicsEngine->SetScale(4.0f, 4.0f);
    g_graphicsEngine->DrawSprite(0, 0, black ? 23 : 22, 0, 0, 160, 120);
}

void Fade::Finish()
{
    g_sceneManager->SetNextScene(target);
    g_taskList->Kill(this);
}
