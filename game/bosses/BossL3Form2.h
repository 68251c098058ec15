#pragma once
#include "game/bosses/BossL3Form.h"

// The second level-3 form: side-wall emitters with fans from its edges, then a closing pair
// that calls in kind-2 enemies.
class BossL3Form2 : public BossL3Form {
public:
    BossL3Form2(int param, float x, float y);
    void Exec() override;
    static Task* Create(int priority, int param, float x, float y);

private:
    bool PatternStep() override;
    bool SideFansStep();
    bool ClosingPairStep();
    void SummonColumn();
};
