#pragma once
#include "game/Boss.h"

// The second level-2 form: flies to the point near the top centre as the level-0 second form
// and cycles through three patterns of its own there.
class BossL2Form2 : public Boss {
public:
    BossL2Form2(int param, float x, float y);
    void Exec() override;
    static Task* Create(int priority, int param, float x, float y);

    float acceleration = 80.0f;
    int aim = 270;
    int stepCounter = 0;
    int lap = 0;  // the current pattern, 0 to 2
    int frame = 0;
    float frameTimer = 1.0f;
    int entrySteps = 0;
    float attackTimer = 0.0f;

private:
    void Approach();
    void Attack();
    void Draw() const;

    // One step of a pattern; true when the pattern is complete.
    bool DriftingStreamStep();
    bool RingAndAimedStep();
    bool OpenBarrageStep();

    using Handler = void (BossL2Form2::*)();
    static constexpr Handler kHandlers[2] = {&BossL2Form2::Approach, &BossL2Form2::Attack};
};
