#pragma once
#include "game/shots/EnemyShot.h"

// Brakes to its limit, then (fireFlag not 0) fires one shot aimed at the ship and vanishes.
class EnemyShot3 : public EnemyShot {
public:
    EnemyShot3(float cx, float cy, float speed, int angle, float accel, float limit, int fireFlag);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot3* Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit,
                              int fireFlag);

    int aim = 0;
    float limit;
    int fireFlag;
};
