#pragma once
#include <cstdint>

// A pre-transformed sprite vertex, format XYZRHW | DIFFUSE | SPECULAR | TEX1.
struct SpriteVertex {
    float x, y, z, rhw;
    std::uint32_t diffuse;
    std::uint32_t specular;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 32);

constexpr std::uint32_t kSpriteVertexFormat = 0x1C4;
