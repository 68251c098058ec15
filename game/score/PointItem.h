#pragma once
#include "engine/MathUtil.h"
#include "engine/Task.h"

// The item every destroyed enemy leaves: it rises, falls back and is gone below the field
// unless the ship touches it; the X key makes it home in on the ship.
class PointItem : public Task {
public:
    PointItem(float cx, float cy);
    void Exec() override;
    static PointItem* Create(int priority, float cx, float cy);

    void GetRect(Rect* out) const;
    void GetCenter(Point* out) const;
    static void Attract(PointItem* item);

    float x, y;
    float vx;
    float vy = 50.0f;  // upward positive
    float gravity = 100.0f;
    int angle = 0;
    int w = 24;
    int h = 24;
};
