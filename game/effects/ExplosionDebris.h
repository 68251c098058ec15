#pragma once
#include "engine/Task.h"

// A bright dot thrown upward that dims as it slows (the stage-clear screen's fireworks).
class ExplosionDebris : public Task {
public:
    ExplosionDebris(float x, float y);
    void Exec() override;
    static ExplosionDebris* Create(int priority, float x, float y);

    float x, y;
    float speed;
    int spare = 0;
    int angle;
};
