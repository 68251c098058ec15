#include "game/shots/EnemyShot1.h"

#include "engine/Application.h"
#include "engine/TaskList.h"

EnemyShot1::EnemyShot1(float cx, float cy, float speed, int angle, float accel)
    : EnemyShot(cx, cy, 16, 16, speed, angle, accel)
{
}

EnemyShot1* EnemyShot1::Create(int priority, float cx, float cy, float speed, int angle, float accel)
{
    return InsertNew<EnemyShot1>(priority, cx, cy, speed, angle, accel);
}

void EnemyShot1::GetRect(Rect* out) const
{
    CentreBox(4, out);
}

void EnemyShot1::Exec()
{
    NormalizeDirection();
    Move();
    if (accel != 0.0f) {
        speed += accel * g_frameTime;
    }
    Draw(0, 16, false, 0.0f);
    KillWhenOffField();
}
