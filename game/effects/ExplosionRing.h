#pragma once
#include "engine/Task.h"

// A shock ring that grows to 4 (mode 0) or 8 (mode 1) times half its size.
class ExplosionRing : public Task {
public:
    ExplosionRing(float cx, float cy, int row, int mode);
    void Exec() override;
    static ExplosionRing* Create(int priority, float cx, float cy, int row, int mode);

    float x, y;
    int w = 64, h = 64;
    int row;
    int mode;
    float scale = 0.5f;
    float alpha = 255.0f;
};
