#include "engine/MathUtil.h"

#include <cmath>

#include "engine/Application.h"
#include "platform/win32/CRuntime.h"

float g_sinTable[360];
float g_cosTable[360];

void FillAngleTables()
{
    for (int d = 0; d < 360; ++d) {
        double radians = d * 3.1415926535 / 180.0;
        g_sinTable[d] = static_cast<float>(std::sin(radians));
        g_cosTable[d] = static_cast<float>(std::cos(radians));
    }
}

int RandomRange(int a, int b)
{
    if (b < a) {
        int t = a;
        a = b;
        b = t;
    }
    return crt::rand() % (b - a) + a;
}

bool RectsOverlap(const Rect& first, const Rect& second)
{
    return second.y + second.h > first.y && first.y + first.h > second.y && second.x + second.w > first.x &&
           first.x + first.w > second.x;
}

int AngleDeg(int x0, int y0, int x1, int y1)
{
    // The vertical difference is negated as a double, so a zero becomes -0.0 and straight left
    // comes out as -pi (179 after the truncation below).
    double dy = -static_cast<double>(y1 - y0);
    double a = std::atan2(dy, static_cast<double>(x1 - x0));
    int degrees = static_cast<int>(a / 3.141592 * 180.0 + 360.0);
    return degrees % 360;
}

bool IsOffField(float x, float y, int w, int h)
{
    return x < kFieldLeft - 2.0f * w || x > kFieldRight + 2.0f * w || y < kFieldTop - 2.0f * h ||
           y > kFieldBottom + 2.0f * h;
}

void MoveAlong(float* x, float* y, int direction, float speed)
{
    int d = ((direction % 360) + 360) % 360;
    *x += g_cosTable[d] * speed * g_frameTime;
    *y -= g_sinTable[d] * speed * g_frameTime;
}
