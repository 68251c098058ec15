#include "game/shots/EnemyShot5.h"

#include "engine/TaskList.h"

EnemyShot5::EnemyShot5(float cx, float cy, float speed, int angle, float accel, float limit)
    : EnemyShot(cx, cy, 8, 8, speed, angle, accel), limit(limit)
{
}

EnemyShot5* EnemyShot5::Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit)
{
    return InsertNew<EnemyShot5>(priority, cx, cy, speed, angle, accel, limit);
}

void EnemyShot5::GetRect(Rect* out) const
{
    CentreBox(2, out);
}

void EnemyShot5::Exec()
{
    NormalizeDirection();
    Move();
    if (BrakeToLimit(limit)) {
        speed = limit;
    }
    Draw(0, 0, false, static_cast<float>(-direction));
    KillWhenOffField();
}
