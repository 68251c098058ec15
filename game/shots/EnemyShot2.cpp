#include "game/shots/EnemyShot2.h"

#include "engine/Application.h"
#include "engine/TaskList.h"

EnemyShot2::EnemyShot2(float cx, float cy, float speed, int angle, float accel, int cell)
    : EnemyShot(cx, cy, 16, 8, speed, angle, accel), cell(cell)
{
}

EnemyShot2* EnemyShot2::Create(int priority, float cx, float cy, float speed, int angle, float accel, int cell)
{
    return InsertNew<EnemyShot2>(priority, cx, cy, speed, angle, accel, cell);
}

void EnemyShot2::GetRect(Rect* out) const
{
    CentreBox(2, out);
}

void EnemyShot2::Exec()
{
    NormalizeDirection();
    Move();
    if (accel != 0.0f) {
        speed += accel * g_frameTime;
    }
    Draw(16 * cell, 8, true, static_cast<float>(-direction));
    KillWhenOffField();
}
