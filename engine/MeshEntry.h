#pragma once
#include <cstdint>

#include "platform/d3d9/D3DX9.h"

// A loaded mesh with its materials and one texture per material (null where there is none).
struct MeshEntry {
    std::uint8_t loaded = 0;
    D3DXMATRIX world{};
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materialBuffer = nullptr;
    ID3DXMesh* mesh = nullptr;
    D3DMATERIAL9* materials = nullptr;
    IDirect3DTexture9** textures = nullptr;
    std::uint32_t materialCount = 0;
};
