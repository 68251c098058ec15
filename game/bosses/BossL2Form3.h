#pragma once
#include "game/bosses/BossSwayForm.h"

// The last level-2 form, tinted red: flies to the top centre and sways toward the player's side
// as the level-0 third form, with heavier versions of its four patterns.
class BossL2Form3 : public BossSwayForm {
public:
    BossL2Form3(int param, float x, float y);
    static Task* Create(int priority, int param, float x, float y);

private:
    bool PatternStep() override;
    // Homing shots to both sides, and on the third step straight down as well.
    void SideHomingShots(int n) override;

    // One step of a pattern; true when the pattern is complete.
    bool RingsAndLinesStep();
};
