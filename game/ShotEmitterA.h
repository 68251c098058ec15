#pragma once
#include "game/Enemy.h"

// Drifts along its direction at 40 px/s, firing turning crosses of four shots in bursts; gone when it leaves the field.
// An inert task: it uses the enemy fields for its place and motion but is never hit or graded.
class ShotEmitterA : public Enemy {
public:
    ShotEmitterA(float x, float y, int direction, int angleOffset);
    void Exec() override;
    static ShotEmitterA* Create(int priority, float x, float y, int direction, int angleOffset);

    int baseAngle;
    int volleys = 0;
    float fireTimer = 100.0f;

private:
    void FireWhenDue();
};
