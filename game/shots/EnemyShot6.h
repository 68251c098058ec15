#pragma once
#include "game/shots/EnemyShot.h"

// A large rotated shot that brakes to its limit and flies on at it.
class EnemyShot6 : public EnemyShot {
public:
    EnemyShot6(float cx, float cy, float speed, int angle, float accel, float limit);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot6* Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit);

    float limit;
};
