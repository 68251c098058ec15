#include "game/shots/EnemyShot3.h"

#include "engine/GameObject.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot2.h"

EnemyShot3::EnemyShot3(float cx, float cy, float speed, int angle, float accel, float limit, int fireFlag)
    : EnemyShot(cx, cy, 16, 8, speed, angle, accel), limit(limit), fireFlag(fireFlag)
{
}

EnemyShot3* EnemyShot3::Create(int priority, float cx, float cy, float speed, int angle, float accel, float limit,
                               int fireFlag)
{
    return InsertNew<EnemyShot3>(priority, cx, cy, speed, angle, accel, limit, fireFlag);
}

void EnemyShot3::GetRect(Rect* out) const
{
    CentreBox(2, out);
}

void EnemyShot3::Exec()
{
    NormalizeDirection();
    Move();
    if (BrakeToLimit(limit)) {
        Point centre;
        GetCenter(&centre);
        if (fireFlag != 0) {
            // Without a ship the shot goes along its last aim.
            Point target;
            if (GameObject::FindPlayerCenter(&target)) {
                aim = AngleDeg(centre.x, centre.y, target.x, target.y);
            }
            EnemyShot2::Create(PriorityPlayer, static_cast<float>(centre.x), static_cast<float>(centre.y), 250.0f, aim,
                               30.0f, 0);
        }
        g_taskList->Kill(this);
    }
    Draw(16 * fireFlag, 8, true, static_cast<float>(-direction));
    KillWhenOffField();
}
