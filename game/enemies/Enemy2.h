#pragma once
#include "game/enemies/Enemy.h"

// The 240-point gunner, tinted light blue: enters from the top, brakes to a stop, fires pairs of
// shots downward and climbs away off the top. One concrete class per level.
class Enemy2 : public Enemy {
public:
    // Enters, fires, then climbs away.
    void Exec() override;
    // Makes the level's class (1, 2, 3; anything else level 0); nullptr when it cannot be made.
    static Enemy2* Create(int priority, int param, float x, float y);

    int volleyCount = 0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;
    float volleyTimer = 60.0f;

protected:
    using Handler = void (Enemy2::*)();
    static const Handler kStates[3];

    Enemy2(int param, float x, float y);
    // State 0: coming in until it stops.
    virtual void Enter() = 0;
    // State 1: the pairs, until it turns to leave.
    virtual void Fire() = 0;
    void DrawCell(int cell) const;
    // Two shots at 200 px/s, the left angle first.
    void FirePair(int left, int right) const;
    // Climbing away: gathers speed while below 160 px/s, drawn as cell 2.
    void Leave();
    // Levels 1 to 3: brakes to a standstill, blinking, keeping its downward direction.
    void EnterToStop();
    // Levels 1 to 3: fires `pairs` pairs standing still, `gap` ticks apart (the first 60 ticks
    // after the stop), wide ones first when `widePairs` is set, a fan of seven with the seventh
    // pair when `fan` is set; then turns to leave.
    void FireStanding(int pairs, float gap, int widePairs, bool fan);
};

// Drifts up at 5 px/s while it fires two narrow pairs a second apart.
class Enemy2L0 final : public Enemy2 {
public:
    Enemy2L0(int param, float x, float y) : Enemy2(param, x, y) {}

private:
    void Enter() override;
    void Fire() override;
};

// Levels 1 to 3 stop dead, fire their pairs standing still and climb from a standstill; they
// differ in the pairs, the gap between them and level 3's fan.
class Enemy2Stander : public Enemy2 {
protected:
    Enemy2Stander(int param, float x, float y) : Enemy2(param, x, y) {}
    void Enter() override { EnterToStop(); }
};

// Three narrow pairs 20 ticks apart.
class Enemy2L1 final : public Enemy2Stander {
public:
    Enemy2L1(int param, float x, float y) : Enemy2Stander(param, x, y) {}

private:
    void Fire() override { FireStanding(3, 20.0f, 0, false); }
};

// A burst of six wide and six narrow pairs.
class Enemy2L2 final : public Enemy2Stander {
public:
    Enemy2L2(int param, float x, float y) : Enemy2Stander(param, x, y) {}

private:
    void Fire() override { FireStanding(12, 3.0f, 6, false); }
};

// Level 2's burst, faster, with a fan in its middle.
class Enemy2L3 final : public Enemy2Stander {
public:
    Enemy2L3(int param, float x, float y) : Enemy2Stander(param, x, y) {}

private:
    void Fire() override { FireStanding(12, 2.0f, 6, true); }
};
