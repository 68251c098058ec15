#pragma once
#include "game/enemies/Enemy.h"

// Worth 1000 points on every level. Levels 0 to 2: a diver that brakes to a stop, faces the ship
// once and dives at it. Level 3: a tinted carrier that descends untouchable, drops four shot
// emitters, then becomes a target and climbs slowly firing double rings.
class Enemy5 : public Enemy {
public:
    void Exec() override = 0;
    // Picks the class of the current difficulty level and inserts it.
    static Enemy5* Create(int priority, int param, float x, float y);

protected:
    Enemy5(int param, float x, float y);
};

// What the levels 0 to 2 do alike.
class Enemy5Diver : public Enemy5 {
public:
    void Exec() override;

    float acceleration = 120.0f;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

protected:
    Enemy5Diver(int param, float x, float y) : Enemy5(param, x, y) {}

private:
    using Handler = void (Enemy5Diver::*)();
    static const Handler kHandlers[3];
    void Brake();
    void Face();
    void Dive();
};

class Enemy5L0 final : public Enemy5Diver {
public:
    Enemy5L0(int param, float x, float y) : Enemy5Diver(param, x, y) {}
};

class Enemy5L1 final : public Enemy5Diver {
public:
    Enemy5L1(int param, float x, float y) : Enemy5Diver(param, x, y) {}
};

class Enemy5L2 final : public Enemy5Diver {
public:
    Enemy5L2(int param, float x, float y) : Enemy5Diver(param, x, y) {}
};
