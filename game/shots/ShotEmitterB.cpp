#include "game/shots/ShotEmitterB.h"

#include "engine/TaskList.h"

ShotEmitterB::ShotEmitterB(float x, float y, int angleOffset) : ShotEmitter(x, y, angleOffset, 50.0f) {}

ShotEmitterB* ShotEmitterB::Create(int priority, float x, float y, int angleOffset)
{
    return InsertNew<ShotEmitterB>(priority, x, y, angleOffset);
}

void ShotEmitterB::Exec()
{
    FireWhenDue();
    Draw();
    if (volleys > 64) {
        g_taskList->Kill(this);
    }
}
