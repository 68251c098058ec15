#pragma once
#include <cstdint>

// How a sprite is blended into the frame.
enum class SpriteBlendMode : std::int32_t {
    Alpha = 0,     // SRCALPHA, INVSRCALPHA
    Additive = 1,  // ONE, ONE
};

// The blend colour white with the given alpha (0..255) in the top byte.
constexpr std::uint32_t WhiteWithAlpha(int alpha)
{
    return (static_cast<std::uint32_t>(alpha) << 24) | 0x00FFFFFFu;
}
