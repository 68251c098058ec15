#pragma once
#include "game/bosses/BossL3Form.h"

// The last level-3 form: an opening of aimed triples, a four-second break, then endless
// cycles of aimed streams with crossing side shots. Its end clears the stage.
class BossL3Form4 : public BossL3Form {
public:
    BossL3Form4(int param, float x, float y);
    void Exec() override;
    static Task* Create(int priority, int param, float x, float y);

    int openingCount = 0;
    int cycleCount = 0;

private:
    void Fight();
    // The opening and the cycles are one endless pattern.
    bool PatternStep() override;
};
