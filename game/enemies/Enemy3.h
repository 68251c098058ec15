#pragma once
#include "game/enemies/Enemy.h"

// The slow 400-point turret: sinks straight down at a constant speed, fires an aimed opening
// burst and then aimed shots at a longer gap. No states; one concrete class per level.
class Enemy3 : public Enemy {
public:
    // One frame: move, fire, animate, draw, then destruction (four items where the other kinds
    // leave two) or the escape test.
    void Exec() override;
    // Makes the level's class (1, 2, 3; anything else level 0); nullptr when it cannot be made.
    static Enemy3* Create(int priority, int param, float x, float y);

    // A level's fire: shot speed, the second accelerating shot of level 3, the burst and its gaps.
    struct Rhythm {
        float shotSpeed;
        bool secondShot;
        int burstLimit;  // firings at counts below it are followed by the short gap
        double gapInBurst;
        double gapAfterBurst;
    };

    int shotCount = 0;
    int shotAngle = 0;
    double shotTimer = 30.0;
    int frame = 0;
    int frameStep = 1;
    float frameTimer = 20.0f;

protected:
    // The level's rhythm must outlive the enemy (the levels pass their static one).
    Enemy3(const Rhythm& rhythm, int param, float x, float y, float startSpeed, bool randomOn255);

private:
    // The aimed firing step; the angle keeps its last value when there is no player.
    void Fire();
    void Animate();

    const Rhythm& rhythm_;
};

// Sinks at 60 px/s; nine 160 px/s shots 5 ticks apart, then one every 120 ticks.
class Enemy3L0 final : public Enemy3 {
public:
    Enemy3L0(int param, float x, float y) : Enemy3(kRhythm, param, x, y, 60.0f, false) {}

    static const Rhythm kRhythm;
};

// Sinks at 50..69 px/s; nine 180 px/s shots 6 ticks apart, then one every 60 ticks.
class Enemy3L1 final : public Enemy3 {
public:
    Enemy3L1(int param, float x, float y) : Enemy3(kRhythm, param, x, y, 60.0f + RandomRange(-10, 10), false) {}

    static const Rhythm kRhythm;
};

// Sinks at 30..49 px/s; eleven 200 px/s shots 4 ticks apart, then one every 20 ticks; the
// only level that reads the parameter 255 as a random offset.
class Enemy3L2 final : public Enemy3 {
public:
    Enemy3L2(int param, float x, float y) : Enemy3(kRhythm, param, x, y, 40.0f + RandomRange(-10, 10), true) {}

    static const Rhythm kRhythm;
};

// Sinks at 50..69 px/s; fires pairs (one steady, one accelerating), eleven 2 ticks apart, then
// a pair every 15 ticks.
class Enemy3L3 final : public Enemy3 {
public:
    Enemy3L3(int param, float x, float y) : Enemy3(kRhythm, param, x, y, 60.0f + RandomRange(-10, 10), false) {}

    static const Rhythm kRhythm;
};
