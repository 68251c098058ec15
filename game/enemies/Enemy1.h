#pragma once
#include "engine/MathUtil.h"
#include "game/enemies/Enemy.h"

// The common 200-point enemy: enters from the top, brakes, takes aim and dashes, firing more the
// higher the difficulty level. One concrete class per level.
class Enemy1 : public Enemy {
public:
    void Exec() override = 0;
    // Makes the level's class (1, 2, 3; anything else level 0); nullptr when it cannot be made.
    static Enemy1* Create(int priority, int param, float x, float y);

    float acceleration = 80.0f;
    int shotCount = 0;
    int shotAngle = 270;
    double shotTimer = 30.0;
    int blinkCell = 0;
    float blinkTimer = 1.0f;

protected:
    Enemy1(int param, float x, float y, float startSpeed);
    void FireShot(float shotSpeed, int angle, float accel, int cell) const;
    // Six shots along one angle at 160..210 px/s: a line that stretches as it flies.
    void FireLine(int angle) const;
    // Two diverging lines 30 degrees either side of the angle.
    void FireFork(int angle) const;
};

// Levels 0 and 1: enter braking to a stop, aim once (a shot off the aim line, one time in two)
// and dash; they differ only in what the dash fires.
class Enemy1Dasher : public Enemy1 {
public:
    void Exec() override;

protected:
    Enemy1Dasher(int param, float x, float y) : Enemy1(param, x, y, 160.0f) {}
    // Runs after the dash frame has been drawn.
    virtual void FireDuringDash() {}

private:
    using Handler = void (Enemy1Dasher::*)();
    static const Handler kStates[3];

    void Enter();
    void Aim();
    void Dash();
};

// Levels 2 and 3: enter slowing to 80 px/s, take aim, brake to a stop while firing, aim again and
// dash while firing; they differ in the volleys and in what the second aim resets.
class Enemy1Gunner : public Enemy1 {
public:
    void Exec() override;

protected:
    Enemy1Gunner(int param, float x, float y);
    // Runs after the braking frame has been drawn.
    virtual void FireWhileBraking() = 0;
    // Once the ship is found for the dash: the shot count and timer for the dash volleys.
    virtual void RestartForDash() = 0;
    // Runs after the dash frame has been drawn.
    virtual void FireWhileDashing() = 0;

private:
    using Handler = void (Enemy1Gunner::*)();
    static const Handler kStates[5];

    void Enter();
    void TakeAim();
    void BrakeAndFire();
    void ReAim();
    void DashAndFire();
};

// At most one shot, off the aim line.
class Enemy1L0 final : public Enemy1Dasher {
public:
    Enemy1L0(int param, float x, float y) : Enemy1Dasher(param, x, y) {}
};

// Level 0 and two shots during the dash.
class Enemy1L1 final : public Enemy1Dasher {
public:
    Enemy1L1(int param, float x, float y) : Enemy1Dasher(param, x, y) {}

private:
    void FireDuringDash() override;
};

// Brakes while firing an aimed line, then dashes firing one every 100 ticks.
class Enemy1L2 final : public Enemy1Gunner {
public:
    Enemy1L2(int param, float x, float y) : Enemy1Gunner(param, x, y) {}

private:
    void FireWhileBraking() override;
    void RestartForDash() override;
    void FireWhileDashing() override;
    // One expiry of the shot timer: an aimed line at an even count, nothing at an odd one.
    void FireStep();
};

// Level 2's movement with line, fork and scatter volleys.
class Enemy1L3 final : public Enemy1Gunner {
public:
    Enemy1L3(int param, float x, float y) : Enemy1Gunner(param, x, y) {}

private:
    void FireWhileBraking() override;
    void RestartForDash() override;
    void FireWhileDashing() override;
    // Five shots at 80 px/s gaining 0, 20, .. 80 px/s per second, the angle wandering shot by shot.
    void FireScatter();
};
