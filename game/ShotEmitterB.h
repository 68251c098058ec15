#pragma once
#include "game/Enemy.h"

// Stands still, firing turning crosses of four shots in bursts; gone after its 65th volley.
// An inert task: it uses the enemy fields for its place and motion but is never hit or graded.
class ShotEmitterB : public Enemy {
public:
    ShotEmitterB(float x, float y, int angleOffset);
    void Exec() override;
    static ShotEmitterB* Create(int priority, float x, float y, int angleOffset);

    int baseAngle;
    int volleys = 0;
    float fireTimer = 100.0f;

private:
    void FireWhenDue();
};
