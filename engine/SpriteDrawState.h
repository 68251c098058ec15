#pragma once
#include <cstdint>

// The pending state of the next sprite: set just before a draw, consumed and reset by it.
struct SpriteDrawState {
    float angle;    // radians, positive turns clockwise on the screen
    float centreX;  // pivot relative to the sprite's screen position
    float centreY;
    float scaleX;
    float scaleY;
    std::uint32_t colour;   // ARGB
    std::int32_t blendMode; // a SpriteBlendMode
    std::uint8_t transformSet;
};

extern SpriteDrawState g_spriteDrawState;
