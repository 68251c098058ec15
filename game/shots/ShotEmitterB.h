#pragma once
#include "game/shots/ShotEmitter.h"

// Stands still, pausing 50 ticks between bursts; gone after its 65th volley.
class ShotEmitterB : public ShotEmitter {
public:
    ShotEmitterB(float x, float y, int angleOffset);
    void Exec() override;
    static ShotEmitterB* Create(int priority, float x, float y, int angleOffset);
};
