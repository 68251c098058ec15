#pragma once
#include "game/shots/ShotEmitter.h"

// Drifts along its direction at 40 px/s, pausing 100 ticks between bursts; gone when it leaves
// the field.
class ShotEmitterA : public ShotEmitter {
public:
    ShotEmitterA(float x, float y, int direction, int angleOffset);
    void Exec() override;
    static ShotEmitterA* Create(int priority, float x, float y, int direction, int angleOffset);
};
