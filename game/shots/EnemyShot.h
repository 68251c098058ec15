#pragma once
#include "engine/MathUtil.h"
#include "engine/Task.h"

// Base of everything an enemy fires: flies along its direction, its speed changed by the
// class's own rule. Shots cannot be shot down; the ship is lost when its centre touches one.
class EnemyShot : public Task {
public:
    EnemyShot(float cx, float cy, int w, int h, float speed, int angle, float accel);
    void Exec() override = 0;
    // The hit box; every class narrows it to a small square about the centre.
    virtual void GetRect(Rect* out) const;
    virtual void GetCenter(Point* out) const;

    float x, y;
    float accel;
    float speed;
    int w, h;
    int hp = 1;
    int direction;

protected:
    // Brings direction into 0..359, however far outside the creator passed it.
    void NormalizeDirection();
    void Move();
    // The speed rule of the classes with a limit: brakes by accel while above a non-zero limit
    // and returns true once the speed is at or below it; with limit 0 accel speeds the shot up
    // without end.
    bool BrakeToLimit(float limit);
    // A small square hit box of the given side about the centre.
    void CentreBox(int side, Rect* out) const;
    void Draw(int srcX, int srcY, bool rotated, float rotation) const;
    // Kills the shot once it is more than twice its size beyond the play field.
    void KillWhenOffField();
};
