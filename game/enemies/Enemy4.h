#pragma once
#include "game/enemies/Enemy.h"

// A half-transparent 48x48 rammer: for its first second it turns toward the ship, then flies
// straight on, ever faster, until shot or off the field. It never fires.
class Enemy4 : public Enemy {
public:
    void Exec() override = 0;
    // Picks the class of the current difficulty level and inserts it.
    static Enemy4* Create(int priority, int param, float x, float y);

protected:
    Enemy4(int param, float x, float y);
};

// What every level's rammer does; the levels differ in nothing.
class Enemy4Rammer : public Enemy4 {
public:
    void Exec() override;

    float acceleration = 40.0f;
    int frame = 0;
    int frameStep = 1;
    float frameTimer = 20.0f;
    bool homing = true;
    float homingTimer = 100.0f;

protected:
    Enemy4Rammer(int param, float x, float y) : Enemy4(param, x, y) {}

private:
    // False when there is no ship to turn to: the whole frame then waits.
    bool TurnTowardShip();
    void Animate();
};

class Enemy4L0 final : public Enemy4Rammer {
public:
    Enemy4L0(int param, float x, float y) : Enemy4Rammer(param, x, y) {}
};

class Enemy4L1 final : public Enemy4Rammer {
public:
    Enemy4L1(int param, float x, float y) : Enemy4Rammer(param, x, y) {}
};

class Enemy4L2 final : public Enemy4Rammer {
public:
    Enemy4L2(int param, float x, float y) : Enemy4Rammer(param, x, y) {}
};

class Enemy4L3 final : public Enemy4Rammer {
public:
    Enemy4L3(int param, float x, float y) : Enemy4Rammer(param, x, y) {}
};
