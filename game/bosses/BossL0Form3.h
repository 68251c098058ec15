#pragma once
#include "game/bosses/BossSwayForm.h"

// The last level-0 form, tinted red: flies to the top centre, then sways toward the player's
// side in short dashes while cycling through four patterns.
class BossL0Form3 : public BossSwayForm {
public:
    BossL0Form3(int param, float x, float y);
    static Task* Create(int priority, int param, float x, float y);

private:
    bool PatternStep() override;
    void SideHomingShots(int n) override;

    // One step of a pattern; true when the pattern is complete.
    bool RingsAndLinesStep();
};
