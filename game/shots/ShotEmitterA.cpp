#include "game/shots/ShotEmitterA.h"

#include "engine/TaskList.h"

ShotEmitterA::ShotEmitterA(float x, float y, int direction, int angleOffset) : ShotEmitter(x, y, angleOffset, 100.0f)
{
    speed = 40.0f;
    this->direction = direction;
}

ShotEmitterA* ShotEmitterA::Create(int priority, float x, float y, int direction, int angleOffset)
{
    return InsertNew<ShotEmitterA>(priority, x, y, direction, angleOffset);
}

void ShotEmitterA::Exec()
{
    // Creators may pass any angle.
    Move();
    FireWhenDue();
    Draw();
    if (IsOffField(x, y, w, h)) {
        g_taskList->Kill(this);
    }
}
