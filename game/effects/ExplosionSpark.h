#pragma once
#include "engine/Task.h"

// A spark thrown out at a random angle, slowing and fading.
class ExplosionSpark : public Task {
public:
    ExplosionSpark(float cx, float cy, int row);
    void Exec() override;
    static ExplosionSpark* Create(int priority, float cx, float cy, int row);

    float x, y;
    int w = 24, h = 6;
    int row;
    int angle;
    float speed = 300.0f;
    float decel = 400.0f;
    float alpha = 128.0f;
};
