#pragma once
#include "game/bosses/Boss.h"

// The level-1 boss: a single 48x48 diver that enters at the top centre, brakes, faces the ship
// once, dives and fires two shots. Scored plainly: no target second, no grade, no label, and
// nothing follows its end.
class BossL1 : public Boss {
public:
    explicit BossL1(int param);
    void Exec() override;

    float acceleration = 80.0f;
    int shotsFired = 0;
    int shotAngle = 270;
    double shotTimer = 30.0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

private:
    using Handler = void (BossL1::*)();
    static const Handler kHandlers[3];
    void Brake();
    void Face();
    void Dive();
    void FireWhenDue();
};
