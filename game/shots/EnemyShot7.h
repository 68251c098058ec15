#pragma once
#include <cstdint>

#include "game/shots/EnemyShot.h"

// A rotated shot that turns toward the ship for its first 80 ticks, speeding up by accel.
class EnemyShot7 : public EnemyShot {
public:
    EnemyShot7(float cx, float cy, float speed, int angle, float accel);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot7* Create(int priority, float cx, float cy, float speed, int angle, float accel);

    float homingTimer = 80.0f;
    std::uint8_t homing = 1;
};
