#include "game/shots/EnemyShot7.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/TaskList.h"

EnemyShot7::EnemyShot7(float cx, float cy, float speed, int angle, float accel)
    : EnemyShot(cx, cy, 23, 14, speed, angle, accel)
{
}

EnemyShot7* EnemyShot7::Create(int priority, float cx, float cy, float speed, int angle, float accel)
{
    return InsertNew<EnemyShot7>(priority, cx, cy, speed, angle, accel);
}

void EnemyShot7::GetRect(Rect* out) const
{
    CentreBox(2, out);
}

void EnemyShot7::Exec()
{
    if (homing == 1) {
        Point centre, target;
        if (!GameObject::FindPlayerCenter(&target)) {
            return;  // frozen while it still homes and there is nothing to home on
        }
        GetCenter(&centre);
        int targetAngle = AngleDeg(centre.x, centre.y, target.x, target.y);
        // The plain comparison, not the shorter way round.
        int step = static_cast<int>(100.0f * g_frameTime);
        direction += targetAngle > direction ? step : -step;
        NormalizeDirection();
    }
    if (homingTimer < 0.0f) {
        homing = 0;
    } else {
        homingTimer -= 60.0f * g_frameTime;
    }
    Move();
    speed += accel * g_frameTime;
    Draw(28, 34, true, static_cast<float>(360 - direction));
    KillWhenOffField();
}
