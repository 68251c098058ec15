#pragma once
#include <cstdint>

#include "platform/d3d9/D3D9.h"

// One of the graphics engine's 33 numbered textures, with the pixel size of its image.
struct TextureSlot {
    char fileName[256] = {};
    std::uint8_t assigned = 0;
    std::uint32_t colourKey = 0;
    IDirect3DTexture9* texture = nullptr;  // owned; null while the slot is empty
    std::uint32_t imageWidth = 0;
    std::uint32_t imageHeight = 0;
};
