#pragma once
#include "game/bosses/BossStationForm.h"

// The second level-0 form: flies to a point near the top centre and cycles through three long
// patterns there.
class BossL0Form2 : public BossStationForm {
public:
    BossL0Form2(int param, float x, float y);
    static Task* Create(int priority, int param, float x, float y);

private:
    bool PatternStep() override;
    // Each completed pattern calls in an escort, its side set by the step count.
    void PatternEnded() override;

    // One step of a pattern; true when the pattern is complete.
    bool SprayStep();
    bool ClosingFanStep();
    bool OpenBarrageStep();
};
