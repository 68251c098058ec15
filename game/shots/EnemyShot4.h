#pragma once
#include "game/shots/EnemyShot.h"

// Brakes to its limit, then bursts into a ring of eight shots that start at rest.
class EnemyShot4 : public EnemyShot {
public:
    EnemyShot4(float cx, float cy, float speed, int angle, float accel, float limit);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot4* Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit);

    float limit;
    int burst = 1;  // every shot of this class bursts
};
