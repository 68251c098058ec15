#pragma once
// ID3DXMesh: positions, normals and texture coordinates with one triangle list per material.
#include <vector>

#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/RefCounted.h"

struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

class Mesh final : public RefCounted<ID3DXMesh> {
public:
    Mesh(IDirect3DDevice9* device, std::vector<MeshVertex> vertices, std::vector<std::vector<DWORD>> subsets);

    HRESULT DrawSubset(DWORD attribute) override;
    DWORD GetNumFaces() override;
    DWORD GetNumVertices() override;

    const std::vector<MeshVertex>& Vertices() const { return vertices_; }
    const std::vector<std::vector<DWORD>>& Subsets() const { return subsets_; }

private:
    ~Mesh() override;

    IDirect3DDevice9* device_;
    std::vector<MeshVertex> vertices_;
    std::vector<std::vector<DWORD>> subsets_;  // indices, three per face
};
