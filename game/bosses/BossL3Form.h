#pragma once
#include "game/bosses/Boss.h"

// What the four level-3 forms share: a 48x48 darkened double of the player's ship that sways
// toward the player's side in short dashes and fires from a tick-counted attack timer.
class BossL3Form : public Boss {
public:
    float acceleration;
    int aim = 270;
    int frame = 0;
    int frameStep = 1;
    float frameTimer = 1.0f;
    int pattern = 0;

protected:
    // Sway acceleration A; the form appears at (x, y) flying up at 160 px/s. The form cycles
    // through patternCount patterns.
    BossL3Form(float sway, int score, float x, float y, int patternCount = 1);

    // One step of the current pattern; true when the pattern is complete.
    virtual bool PatternStep() = 0;
    // The fight frame: sway, draw, then on the attack timer one step of the current pattern; a
    // completed pattern gives way to the next after 120 ticks.
    void FightInPatterns();

    // One frame of the sway. False when a dash has ended and there is no player: the rest of
    // the fight frame (drawing included) is then skipped.
    bool Sway();
    // Advances the cell animation 1, 2, 3, 2, 1, ... and draws the body, from the lower row
    // once the form is no longer a target.
    void Draw();
    // Centre of the 48x48 body as floats, where shots start.
    float CentreX() const { return x + 24.0f; }
    float CentreY() const { return y + 24.0f; }

private:
    float sway;
    int patternCount;
};
