#pragma once
#include "engine/Task.h"

// A growing, fading flash that steps through seven animation cells.
class ExplosionFlash : public Task {
public:
    ExplosionFlash(float cx, float cy, int row);
    void Exec() override;
    static ExplosionFlash* Create(int priority, float cx, float cy, int row);

    float x, y;
    int w = 32, h = 32;
    int row;
    int frame = 0;
    float frameTimer = 1.0f;
    float scale = 0.5f;
    float alpha = 255.0f;
};
