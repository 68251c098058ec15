#pragma once
#include "game/bosses/BossL3Form.h"

// The third level-3 form: three single-step volleys, two seconds apart.
class BossL3Form3 : public BossL3Form {
public:
    BossL3Form3(int param, float x, float y);
    void Exec() override;
    static Task* Create(int priority, int param, float x, float y);

private:
    // Every pattern is a single volley, so each one completes at once.
    bool PatternStep() override;
};
