#include "game/shots/EnemyShot4.h"

#include "engine/TaskList.h"
#include "game/shots/EnemyShot2.h"

EnemyShot4::EnemyShot4(float cx, float cy, float speed, int angle, float accel, float limit)
    : EnemyShot(cx, cy, 8, 8, speed, angle, accel), limit(limit)
{
}

EnemyShot4* EnemyShot4::Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit)
{
    return InsertNew<EnemyShot4>(priority, cx, cy, speed, angle, accel, limit);
}

void EnemyShot4::GetRect(Rect* out) const
{
    CentreBox(2, out);
}

void EnemyShot4::Exec()
{
    NormalizeDirection();
    Move();
    if (BrakeToLimit(limit) && burst > 0) {
        Point centre;
        GetCenter(&centre);
        for (int i = 0; i < 8; ++i) {
            EnemyShot2::Create(PriorityPlayer, static_cast<float>(centre.x), static_cast<float>(centre.y), 0.0f, 45 * i,
                               100.0f, 1);
        }
        g_taskList->Kill(this);
    }
    Draw(0, 0, false, 0.0f);
    KillWhenOffField();
}
