// Mesh loading from DirectX .x files through assimp, kept in Direct3D's left-handed form.
#include "platform/d3d9/Mesh.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cstring>
#include <exception>
#include <map>
#include <vector>

#include "platform/d3d9/Buffer.h"
#include "platform/d3d9/ImporterLosses.h"
#include "platform/d3d9/XFileBounds.h"
#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32Kernel.h"

Mesh::Mesh(IDirect3DDevice9* device, std::vector<MeshVertex> vertices, std::vector<std::vector<DWORD>> subsets)
    : device_(device), vertices_(std::move(vertices)), subsets_(std::move(subsets))
{
    device_->AddRef();
}

Mesh::~Mesh()
{
    device_->Release();
}

HRESULT Mesh::DrawSubset(DWORD attribute)
{
    if (attribute >= subsets_.size()) {
        return D3DERR_INVALIDCALL;
    }
    const auto& indices = subsets_[attribute];
    if (indices.empty()) {
        return D3D_OK;
    }
    device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
    return device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(vertices_.size()),
                                           static_cast<UINT>(indices.size() / 3), indices.data(), D3DFMT_INDEX32,
                                           vertices_.data(), sizeof(MeshVertex));
}

DWORD Mesh::GetNumFaces()
{
    std::size_t faces = 0;
    for (const auto& s : subsets_) {
        faces += s.size() / 3;
    }
    return static_cast<DWORD>(faces);
}

DWORD Mesh::GetNumVertices()
{
    return static_cast<DWORD>(vertices_.size());
}

namespace {

D3DCOLORVALUE MaterialColour(const aiMaterial* material, const char* key, unsigned type, unsigned index,
                             D3DCOLORVALUE fallback)
{
    aiColor4D c;
    if (material->Get(key, type, index, c) == AI_SUCCESS) {
        return D3DCOLORVALUE{c.r, c.g, c.b, c.a};
    }
    return fallback;
}

// Three neighbouring faces per face (0xFFFFFFFF where an edge is open), across all subsets.
std::vector<DWORD> Adjacency(const std::vector<std::vector<DWORD>>& subsets)
{
    std::vector<DWORD> faces;
    for (const auto& s : subsets) {
        faces.insert(faces.end(), s.begin(), s.end());
    }
    std::size_t count = faces.size() / 3;
    std::vector<DWORD> adjacency(count * 3, 0xFFFFFFFFu);
    std::map<std::pair<DWORD, DWORD>, std::pair<std::size_t, int>> open;
    for (std::size_t f = 0; f < count; ++f) {
        for (int e = 0; e < 3; ++e) {
            DWORD a = faces[f * 3 + e], b = faces[f * 3 + (e + 1) % 3];
            auto twin = open.find({b, a});
            if (twin != open.end()) {
                adjacency[f * 3 + e] = static_cast<DWORD>(twin->second.first);
                adjacency[twin->second.first * 3 + twin->second.second] = static_cast<DWORD>(f);
                open.erase(twin);
            } else {
                open[{a, b}] = {f, e};
            }
        }
    }
    return adjacency;
}

// The game's mesh is some tens of KiB; a file far beyond that is not one.
constexpr std::size_t kMaxMeshFileBytes = 16u << 20;

HRESULT LoadScene(LPCVOID memory, DWORD size, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                  ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* materialCount, ID3DXMesh** mesh);

}  // namespace

HRESULT D3DXLoadMeshFromXA(LPCSTR file, DWORD, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                           ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* materialCount,
                           ID3DXMesh** mesh)
{
    if (!file || !device || !mesh) {
        return D3DERR_INVALIDCALL;
    }
    // Read here, so that only a regular file of a sane size reaches the importer.
    std::vector<unsigned char> bytes;
    if (!ReadRegularFile(Win32HostPath(file), kMaxMeshFileBytes, &bytes)) {
        return D3DXERR_INVALIDDATA;
    }
    return D3DXLoadMeshFromXInMemory(bytes.data(), static_cast<DWORD>(bytes.size()), 0, device, adjacency, materials,
                                     effectInstances, materialCount, mesh);
}

HRESULT D3DXLoadMeshFromXInMemory(LPCVOID memory, DWORD size, DWORD, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                                  ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* materialCount,
                                  ID3DXMesh** mesh)
{
    if (!memory || size == 0 || !device || !mesh) {
        return D3DERR_INVALIDCALL;
    }
    // The importer allocates what the file's counts claim before it reads the data behind them.
    if (!XFileWithinBounds(static_cast<const unsigned char*>(memory), size)) {
        return D3DXERR_INVALIDDATA;
    }
    try {
        return LoadScene(memory, size, device, adjacency, materials, effectInstances, materialCount, mesh);
    } catch (const std::exception&) {
        return D3DXERR_INVALIDDATA;  // out of memory within the importer or our copies
    }
}

namespace {

HRESULT LoadScene(LPCVOID memory, DWORD size, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                  ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* materialCount, ID3DXMesh** mesh)
{
    ImporterLosses losses;  // outlives the importer
    Assimp::Importer importer;
    // The .x reader turns the file right-handed; converting back gives the file's own coordinates,
    // winding and texture coordinates. Polygons are split into fans below: the importer's own
    // triangulation stops the process on faces without indices.
    losses.Begin();
    const aiScene* scene = importer.ReadFileFromMemory(memory, size, aiProcess_ConvertToLeftHanded, "x");
    losses.End(scene == nullptr);
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
        return D3DXERR_INVALIDDATA;
    }
    std::vector<MeshVertex> vertices;
    std::vector<std::vector<DWORD>> subsets(scene->mNumMaterials);
    // Every mesh of the node tree, placed by its node's transform.
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> stack{{scene->mRootNode, scene->mRootNode->mTransformation}};
    while (!stack.empty()) {
        auto [node, transform] = stack.back();
        stack.pop_back();
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            stack.push_back({node->mChildren[c], transform * node->mChildren[c]->mTransformation});
        }
        aiMatrix3x3 normalTransform(transform);
        for (unsigned m = 0; m < node->mNumMeshes; ++m) {
            if (node->mMeshes[m] >= scene->mNumMeshes) {
                return D3DXERR_INVALIDDATA;
            }
            const aiMesh* source = scene->mMeshes[node->mMeshes[m]];
            DWORD base = static_cast<DWORD>(vertices.size());
            for (unsigned v = 0; v < source->mNumVertices; ++v) {
                aiVector3D p = transform * source->mVertices[v];
                aiVector3D n = source->mNormals ? normalTransform * source->mNormals[v] : aiVector3D(0, 0, 0);
                aiVector3D t = source->mTextureCoords[0] ? source->mTextureCoords[0][v] : aiVector3D(0, 0, 0);
                vertices.push_back(MeshVertex{p.x, p.y, p.z, n.x, n.y, n.z, t.x, t.y});
            }
            // Indices the file gives are used only when they point into its own data.
            if (source->mMaterialIndex >= subsets.size()) {
                return D3DXERR_INVALIDDATA;
            }
            auto& indices = subsets[source->mMaterialIndex];
            for (unsigned f = 0; f < source->mNumFaces; ++f) {
                const aiFace& face = source->mFaces[f];
                for (unsigned k = 0; k < face.mNumIndices; ++k) {
                    if (face.mIndices[k] >= source->mNumVertices) {
                        return D3DXERR_INVALIDDATA;
                    }
                }
                // Points and lines draw nothing; a polygon of n corners is n - 2 triangles.
                for (unsigned k = 2; k < face.mNumIndices; ++k) {
                    indices.push_back(base + face.mIndices[0]);
                    indices.push_back(base + face.mIndices[k - 1]);
                    indices.push_back(base + face.mIndices[k]);
                }
            }
        }
    }
    DWORD count = static_cast<DWORD>(subsets.size());
    if (materials) {
        // The material array followed by the texture names it points to.
        std::vector<std::string> names(count);
        std::size_t textBytes = 0;
        for (DWORD i = 0; i < count && i < scene->mNumMaterials; ++i) {
            aiString path;
            if (scene->mMaterials[i]->GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS) {
                names[i] = path.C_Str();
                textBytes += names[i].size() + 1;
            }
        }
        auto* buffer = new Buffer(sizeof(D3DXMATERIAL) * count + textBytes);
        auto* array = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
        char* text = reinterpret_cast<char*>(array + count);
        for (DWORD i = 0; i < count; ++i) {
            D3DMATERIAL9 m{{1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0};
            if (i < scene->mNumMaterials) {
                const aiMaterial* source = scene->mMaterials[i];
                m.Diffuse = MaterialColour(source, AI_MATKEY_COLOR_DIFFUSE, m.Diffuse);
                m.Ambient = MaterialColour(source, AI_MATKEY_COLOR_AMBIENT, m.Ambient);
                m.Specular = MaterialColour(source, AI_MATKEY_COLOR_SPECULAR, m.Specular);
                m.Emissive = MaterialColour(source, AI_MATKEY_COLOR_EMISSIVE, m.Emissive);
                float opacity = 1.0f;
                if (source->Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS) {
                    m.Diffuse.a = opacity;
                }
                source->Get(AI_MATKEY_SHININESS, m.Power);
            }
            array[i].MatD3D = m;
            array[i].pTextureFilename = nullptr;
            if (!names[i].empty()) {
                std::memcpy(text, names[i].c_str(), names[i].size() + 1);
                array[i].pTextureFilename = text;
                text += names[i].size() + 1;
            }
        }
        *materials = buffer;
    }
    if (adjacency) {
        std::vector<DWORD> adjacent = Adjacency(subsets);
        auto* buffer = new Buffer(adjacent.size() * sizeof(DWORD));
        if (!adjacent.empty()) {  // a mesh without triangles has no data to copy, not even a pointer
            std::memcpy(buffer->GetBufferPointer(), adjacent.data(), adjacent.size() * sizeof(DWORD));
        }
        *adjacency = buffer;
    }
    if (effectInstances) {
        *effectInstances = nullptr;
    }
    if (materialCount) {
        *materialCount = count;
    }
    *mesh = new Mesh(device, std::move(vertices), std::move(subsets));
    return D3D_OK;
}

}  // namespace
