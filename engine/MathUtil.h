#pragma once

// A hit rectangle: top-left corner and size in pixels.
struct Rect {
    float x;
    float y;
    int w;
    int h;
};

struct Point {
    int x;
    int y;
};

// The play field inside the 640x480 screen, between the two 128-pixel side panels.
constexpr int kFieldLeft = 128;
constexpr int kFieldTop = 0;
constexpr int kFieldRight = 512;
constexpr int kFieldBottom = 480;

// Whole-degree tables, filled once at start-up.
extern float g_sinTable[360];
extern float g_cosTable[360];
void FillAngleTables();

// rand() % (b - a) + a with the bounds swapped when b < a: a value in [a, b).
int RandomRange(int a, int b);
// True only when the rectangles overlap strictly; touching edges do not count.
bool RectsOverlap(const Rect& first, const Rect& second);
// Whole-degree direction (0 right, 90 up) from point 0 to point 1, rounded down.
int AngleDeg(int x0, int y0, int x1, int y1);
// One frame's step of speed px/s along a whole-degree direction (0 right, 90 up), the direction
// first brought into 0..359.
void MoveAlong(float* x, float* y, int direction, float speed);
// True when an object has left the field by more than twice its own size.
bool IsOffField(float x, float y, int w, int h);
