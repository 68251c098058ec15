#pragma once
#include "engine/Task.h"
#include "game/screens/ScreenKeys.h"

// A two-entry option screen that no scene opens: entry 0 toggles fog with Z and a side key,
// entry 1 returns to the title. Only the cursor is drawn.
class OptionScreen : public Task {
public:
    OptionScreen();
    void Exec() override;

private:
    void Slide();
    void HandleKeys();

    ScreenKeys keys;
    int cursor = 0;
    float slideOffset = -1.0f;
    float slideVelocity = -200.0f;
    float slideAccel = 400.0f;
};
