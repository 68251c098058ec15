#include "game/shots/EnemyShot6.h"

#include "engine/TaskList.h"

EnemyShot6::EnemyShot6(float cx, float cy, float speed, int angle, float accel, float limit)
    : EnemyShot(cx, cy, 24, 18, speed, angle, accel), limit(limit)
{
}

EnemyShot6* EnemyShot6::Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit)
{
    return InsertNew<EnemyShot6>(priority, cx, cy, speed, angle, accel, limit);
}

void EnemyShot6::GetRect(Rect* out) const
{
    CentreBox(2, out);
}

void EnemyShot6::Exec()
{
    NormalizeDirection();
    Move();
    if (BrakeToLimit(limit)) {
        speed = limit;
    }
    Draw(0, 32, true, static_cast<float>(-direction));
    KillWhenOffField();
}
