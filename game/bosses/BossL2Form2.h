#pragma once
#include "game/bosses/BossStationForm.h"

// The second level-2 form: flies to the point near the top centre as the level-0 second form
// and cycles through three patterns of its own there.
class BossL2Form2 : public BossStationForm {
public:
    BossL2Form2(int param, float x, float y);
    static Task* Create(int priority, int param, float x, float y);

private:
    bool PatternStep() override;

    // One step of a pattern; true when the pattern is complete.
    bool DriftingStreamStep();
    bool RingAndAimedStep();
    bool OpenBarrageStep();
};
