#pragma once
#include "game/shots/EnemyShot.h"

// A small round shot that brakes to its limit and flies on at it.
class EnemyShot5 : public EnemyShot {
public:
    EnemyShot5(float cx, float cy, float speed, int angle, float accel, float limit);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot5* Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit);

    float limit;
};
