#pragma once
#include "game/shots/EnemyShot.h"

// A round 16x16 shot; accel changes its speed without limit.
class EnemyShot1 : public EnemyShot {
public:
    EnemyShot1(float cx, float cy, float speed, int angle, float accel);
    void Exec() override;
    void GetRect(Rect* out) const override;
    static EnemyShot1* Create(int priority, float cx, float cy, float speed, int angle, float accel);

};
