#pragma once
#include <cstdint>

// How a sprite is blended into the frame.
enum class SpriteBlendMode : std::int32_t {
    Alpha = 0,     // SRCALPHA, INVSRCALPHA
    Additive = 1,  // ONE, ONE
};
