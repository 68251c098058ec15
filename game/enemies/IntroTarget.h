#pragma once
#include "game/enemies/Enemy.h"

// The harmless demonstration target of the stage opening: it shows target second 3 and is
// destroyed by the opening itself on that second, so the player sees an exact hit. Outside the
// scoring: no score, items or gauge change.
class IntroTarget : public Enemy {
public:
    IntroTarget(int param, float x, float y);
    void Exec() override;
    static IntroTarget* Create(int priority, int param, float x, float y);

    int blinkCell = 0;
    float blinkTimer = 1.0f;
};
