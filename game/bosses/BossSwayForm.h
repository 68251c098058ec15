#pragma once
#include "game/bosses/Boss.h"

// What the last forms of levels 0 and 2 share: the form, tinted red, flies to the top centre,
// then sways toward the player's side in short dashes while cycling through four patterns, the
// first two a side barrage. The level supplies the other pattern steps and the barrage's homing
// shots.
class BossSwayForm : public Boss {
public:
    void Exec() override;

    float acceleration = 80.0f;
    int aim = 270;
    // Set by the side barrage before it fires along them.
    int leftAim = 270;
    int rightAim = 270;
    int pattern = 0;
    int frame = 0;
    float frameTimer = 1.0f;

protected:
    // The form appears at (x, y); it ends the chain.
    BossSwayForm(int param, float x, float y);

    // One step of the current pattern; true when the pattern is complete.
    virtual bool PatternStep() = 0;
    // The homing shots of the side barrage's step n (0 to 2), after its large shots.
    virtual void SideHomingShots(int n) = 0;

    bool SideBarrageStep();
    // One step of the crossfire: from the left then the right edge a burst of four shots of
    // rising speed at a random angle, each shot `fan` degrees on (the right burst the other
    // way); on the steps where step % arrowPeriod < arrowSteps an arrow of four aimed shots down
    // the centre line. Complete after step 160.
    bool CrossfireStep(int fan, int arrowPeriod, int arrowSteps);

private:
    void Approach();
    void Sway();
    void Draw() const;

    using Handler = void (BossSwayForm::*)();
    static constexpr Handler kHandlers[2] = {&BossSwayForm::Approach, &BossSwayForm::Sway};
};
