#pragma once
#include "game/enemies/Enemy5.h"

// The level-3 carrier: inert while it descends to y 128, drops four shot emitters there, and
// only then can be hit while it climbs at 10 px/s firing double rings of shots.
class Enemy5L3 final : public Enemy5 {
public:
    Enemy5L3(int param, float x, float y);
    void Exec() override;

    float acceleration = 0.0f;  // unused
    int frame = 0;
    int frameStep = 1;
    float frameTimer = 20.0f;
    int volleyCount = 0;
    float volleyTimer = 60.0f;

private:
    using Handler = void (Enemy5L3::*)();
    static const Handler kHandlers[3];
    void Descend();
    void Deploy();
    void ClimbAndFire();
    void Animate();
    void FireWhenDue();
    void Draw() const;
};
