#pragma once
#include <cstdint>

// The cursor of a menu and the slide that pushes the highlighted entry to the right after a move.
struct MenuCursor {
    int cursor = 0;
    float slideOffset = -1.0f;
    float slideVelocity = -200.0f;  // -slideAccel / 2: at rest from the first frame
    float slideAccel = 400.0f;
    std::uint8_t chosen = 0;

    // Moves with wrap-around over the given number of entries and starts the slide.
    void Move(int delta, int entries);
    // Advances the slide by one frame.
    void Slide();
};
