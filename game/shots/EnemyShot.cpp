#include "game/shots/EnemyShot.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"

EnemyShot::EnemyShot(float cx, float cy, int w, int h, float speed, int angle, float accel)
    : x(cx - w / 2), y(cy - h / 2), accel(accel), speed(speed), w(w), h(h), direction(angle)
{
    type = TaskType::EnemyShot;
}

void EnemyShot::GetRect(Rect* out) const
{
    *out = {x, y, w, h};
}

void EnemyShot::GetCenter(Point* out) const
{
    *out = {static_cast<int>(x + w / 2), static_cast<int>(y + h / 2)};
}

void EnemyShot::NormalizeDirection()
{
    direction %= 360;
    if (direction < 0) {
        direction += 360;
    }
}

void EnemyShot::Move()
{
    MoveAlong(&x, &y, direction, speed);
}

bool EnemyShot::BrakeToLimit(float limit)
{
    if (limit == 0.0f) {
        speed += accel * g_frameTime;
        return false;
    }
    if (speed > limit) {
        speed -= accel * g_frameTime;
    }
    return speed <= limit;
}

void EnemyShot::CentreBox(int side, Rect* out) const
{
    *out = {x + w / 2 - side / 2, y + h / 2 - side / 2, side, side};
}

void EnemyShot::Draw(int srcX, int srcY, bool rotated, float rotation) const
{
    if (rotated) {
        g_graphicsEngine->SetRotation(rotation, static_cast<float>(w / 2), static_cast<float>(h / 2));
    }
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 20, srcX, srcY, w, h);
}

void EnemyShot::KillWhenOffField()
{
    if (IsOffField(x, y, w, h)) {
        g_taskList->Kill(this);
    }
}
