#pragma once
#include "game/enemies/Enemy.h"

// What the two shot emitters share: a 14x14 inert task that fires turning crosses of four shots,
// one volley a tick in bursts, with a pause after every eighth volley. It uses the enemy fields
// for its place and motion but is never hit or graded.
class ShotEmitter : public Enemy {
public:
    int baseAngle;
    int volleys = 0;
    float fireTimer = 100.0f;

protected:
    // The emitter's top-left is (x + 7, y + 7); burstPause is the pause in ticks between bursts.
    ShotEmitter(float x, float y, int angleOffset, float burstPause);
    void FireWhenDue();
    void Draw() const;

private:
    float burstPause;
};
