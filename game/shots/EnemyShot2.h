#pragma once
#include "game/shots/EnemyShot.h"

// A rotated 16x8 shot in one of three colours; accel changes its speed without limit.
class EnemyShot2 : public EnemyShot {
public:
    EnemyShot2(float cx, float cy, float speed, int angle, float accel, int cell);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot2* Create(int priority, float cx, float cy, float speed, int angle, float accel, int cell);

    int cell;
};
