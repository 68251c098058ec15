#pragma once
#include "engine/MathUtil.h"
#include "game/Enemy.h"

// The common 200-point enemy: enters from the top, brakes, takes aim and dashes, firing more the
// higher the difficulty level. One concrete class per level.
class Enemy1 : public Enemy {
public:
    void Exec() override = 0;
    // Makes the level's class (1, 2, 3; anything else level 0); nullptr when it cannot be made.
    static Enemy1* Create(int priority, int param, float x, float y);

protected:
    // The fields every level sets alike; the target second last, then the task type.
    void Setup(int param, float x, float y, float startSpeed);
    void Move();
    // Brakes by accel; once the speed is found at or below 0 it stops and takes the next state.
    void BrakeToStop(float accel);
    // Gathers speed by accel while below 160 px/s (passing it by at most one frame's step).
    void SpeedUp(float accel);
    void DrawCell(int cell) const;
    static void Blink(int* cell, float* timer);
    // The angle from the centre to the player's centre raised by `above` pixels; false (and
    // the angle untouched) when there is no player.
    bool AimAtPlayer(int above, int* angle) const;
    void FireShot(float shotSpeed, int angle, float accel, int cell) const;
    // Six shots along one angle at 160..210 px/s: a line that stretches as it flies.
    void FireLine(int angle) const;
    // Two diverging lines 30 degrees either side of the angle.
    void FireFork(int angle) const;
    // Runs the frame's state handler, then the common end of the frame.
    template <class E>
    static void RunFrame(E* self)
    {
        (self->*E::kStates[self->stateIndex])();
        self->FinishFrame();
    }
};

class Enemy1L0 : public Enemy1 {
public:
    Enemy1L0(int param, float x, float y);
    void Exec() override;

    float acceleration = 80.0f;
    int shotAngle = 270;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

private:
    friend class Enemy1;
    void Enter();
    void Aim();
    void Dash();
    using Handler = void (Enemy1L0::*)();
    static const Handler kStates[3];
};

class Enemy1L1 : public Enemy1 {
public:
    Enemy1L1(int param, float x, float y);
    void Exec() override;

    float acceleration = 80.0f;
    int shotCount = 0;
    int shotAngle = 270;
    double shotTimer = 30.0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

private:
    friend class Enemy1;
    void Enter();
    void Aim();
    void Dash();
    using Handler = void (Enemy1L1::*)();
    static const Handler kStates[3];
};

class Enemy1L2 : public Enemy1 {
public:
    Enemy1L2(int param, float x, float y);
    void Exec() override;

    float acceleration = 80.0f;
    int shotCount = 0;
    int shotAngle = 270;
    double shotTimer = 30.0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

private:
    friend class Enemy1;
    void Enter();
    void TakeAim();
    void BrakeAndFire();
    void ReAim();
    void DashAndFire();
    // One expiry of the shot timer: an aimed line at an even count, nothing at an odd one.
    void FireStep();
    using Handler = void (Enemy1L2::*)();
    static const Handler kStates[5];
};

class Enemy1L3 : public Enemy1 {
public:
    Enemy1L3(int param, float x, float y);
    void Exec() override;

    float acceleration = 80.0f;
    int shotCount = 0;
    int shotAngle = 270;
    double shotTimer = 30.0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

private:
    friend class Enemy1;
    void Enter();
    void TakeAim();
    void BrakeAndFire();
    void ReAim();
    void DashAndFire();
    // Five shots at 80 px/s gaining 0, 20, .. 80 px/s per second, the angle wandering shot by shot.
    void FireScatter();
    using Handler = void (Enemy1L3::*)();
    static const Handler kStates[5];
};
