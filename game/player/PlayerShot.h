#pragma once
#include "engine/Task.h"

// The ship's shot: flies straight at 700 px/s and takes one hit point from the first enemy it
// overlaps.
class PlayerShot : public Task {
public:
    PlayerShot(float x, float y, int direction);
    void Exec() override;
    // x is the centre of the shot, y its top.
    static PlayerShot* Create(int priority, float x, float y, int direction);

    float x, y;
    int w = 32;
    int h = 16;
    float speed = 700.0f;
    int direction;
};
