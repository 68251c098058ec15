#pragma once
#include <cstdint>

#include "engine/Task.h"
#include "game/scenes/FadeMode.h"
#include "game/scenes/SceneState.h"

// A black or white sheet over the whole screen whose opacity moves by a fixed step each frame;
// at its end it requests the next scene.
class Fade : public Task {
public:
    Fade(int step, SceneState target, FadeMode mode);
    void Exec() override;
    static Fade* Create(int priority, int step, SceneState target, FadeMode mode);

    int GetAlpha() const { return static_cast<int>(colour >> 24); }

private:
    using Handler = void (Fade::*)();
    static const Handler kHandlers[4];

    void FadeIn();
    void FadeOut();
    void DrawSheet();
    void Finish();

    std::uint8_t started;
    int step;
    SceneState target;
    FadeMode mode;
    std::uint32_t colour;
};
