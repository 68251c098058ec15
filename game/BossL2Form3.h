#pragma once
#include "game/Boss.h"

// The last level-2 form, tinted red: flies to the top centre and sways toward the player's side
// as the level-0 third form, with heavier versions of its four patterns.
class BossL2Form3 : public Boss {
public:
    BossL2Form3(int param, float x, float y);
    void Exec() override;
    static Task* Create(int priority, int param, float x, float y);

    float acceleration = 80.0f;
    int aim = 270;
    // Set by the side barrage before it fires along them.
    int leftAim = 270;
    int rightAim = 270;
    int stepCounter = 0;
    int pattern = 0;
    int frame = 0;
    float frameTimer = 1.0f;
    float attackTimer = 0.0f;

private:
    void Approach();
    void Sway();
    void Draw() const;

    // One step of a pattern; true when the pattern is complete.
    bool SideBarrageStep();
    bool RingsAndLinesStep();
    bool CrossfireStep();
    // The homing shots of the side barrage's first three steps: to both sides, and on the
    // third step straight down as well.
    void FireHomingShots(bool alsoDown);

    using Handler = void (BossL2Form3::*)();
    static constexpr Handler kHandlers[2] = {&BossL2Form3::Approach, &BossL2Form3::Sway};
};
