#include "game/MenuCursor.h"

#include "engine/Application.h"

void MenuCursor::Move(int delta, int entries)
{
    cursor = (cursor + delta + entries) % entries;
    slideOffset = 0.0f;
    slideVelocity = slideAccel / 4.0f;
}

void MenuCursor::Slide()
{
    if (slideVelocity > -slideAccel / 4.0f) {
        slideOffset += g_frameTime * slideVelocity;
        slideVelocity -= g_frameTime * slideAccel;
    } else {
        slideOffset = 0.0f;
    }
}
