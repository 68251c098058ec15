#pragma once
#include "game/Enemy.h"

// The 240-point gunner, tinted light blue: enters from the top, brakes to a stop, fires pairs of
// shots downward and climbs away off the top. One concrete class per level.
class Enemy2 : public Enemy {
public:
    void Exec() override = 0;
    // Makes the level's class (1, 2, 3; anything else level 0); nullptr when it cannot be made.
    static Enemy2* Create(int priority, int param, float x, float y);

protected:
    // The fields every level sets alike; the target second last, then the task type.
    void Setup(int param, float x, float y);
    void Move();
    void DrawCell(int cell) const;
    static void Blink(int* cell, float* timer);
    // Two shots at 200 px/s, the left angle first.
    void FirePair(int left, int right) const;
    // Climbing away: gathers speed while below 160 px/s, drawn as cell 2.
    void Leave();
    // Levels 1 to 3: brakes to a standstill, blinking, keeping its downward direction.
    void EnterToStop(int* blinkCell, float* blinkTimer);
    // Levels 1 to 3: fires `pairs` pairs standing still, `gap` ticks apart (the first 60 ticks
    // after the stop), wide ones first when `widePairs` is set, a fan of seven with the seventh
    // pair when `fan` is set; then turns to leave.
    void FireStanding(int* volleyCount, float* volleyTimer, int pairs, float gap, int widePairs, bool fan);
    template <class E>
    static void RunFrame(E* self)
    {
        (self->*E::kStates[self->stateIndex])();
        self->FinishFrame();
    }
};

// Drifts up at 5 px/s while it fires two narrow pairs a second apart.
class Enemy2L0 : public Enemy2 {
public:
    Enemy2L0(int param, float x, float y);
    void Exec() override;

    int volleyCount = 0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;
    float volleyTimer = 60.0f;

private:
    friend class Enemy2;
    void Enter();
    void Fire();
    using Handler = void (Enemy2L0::*)();
    static const Handler kStates[3];
};

// Levels 1 to 3 stop dead, fire their pairs standing still and climb from a standstill; they
// differ in the pairs, the gap between them and level 3's fan.
class Enemy2L1 : public Enemy2 {
public:
    Enemy2L1(int param, float x, float y);
    void Exec() override;

    int volleyCount = 0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;
    float volleyTimer = 60.0f;

private:
    friend class Enemy2;
    void Enter();
    void Fire();
    using Handler = void (Enemy2L1::*)();
    static const Handler kStates[3];
};

class Enemy2L2 : public Enemy2 {
public:
    Enemy2L2(int param, float x, float y);
    void Exec() override;

    int volleyCount = 0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;
    float volleyTimer = 60.0f;

private:
    friend class Enemy2;
    void Enter();
    void Fire();
    using Handler = void (Enemy2L2::*)();
    static const Handler kStates[3];
};

class Enemy2L3 : public Enemy2 {
public:
    Enemy2L3(int param, float x, float y);
    void Exec() override;

    int volleyCount = 0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;
    float volleyTimer = 60.0f;

private:
    friend class Enemy2;
    void Enter();
    void Fire();
    using Handler = void (Enemy2L3::*)();
    static const Handler kStates[3];
};
