// Texture slots and meshes.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/GraphicsEngine.h"
#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32.h"

namespace {

// Two 32-bit values at `offset`, little- or big-endian; false when the file is shorter.
bool ReadTwoValues(std::FILE* file, long offset, bool bigEndian, std::uint32_t* first, std::uint32_t* second)
{
    unsigned char bytes[8];
    if (std::fseek(file, offset, SEEK_SET) != 0 || std::fread(bytes, 1, 8, file) != 8) {
        return false;
    }
    auto value = [&](const unsigned char* p) {
        return bigEndian ? (std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3])
                         : (std::uint32_t(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0]);
    };
    *first = value(bytes);
    *second = value(bytes + 4);
    return true;
}

}  // namespace

bool GraphicsEngine::LoadTexture(int slot, const char* file, std::uint32_t colourKey)
{
    if (slot < 0 || slot >= kTextureSlotCount || !file) {
        return false;
    }
    ReleaseTexture(slot);
    TextureSlot& target = textureSlots[slot];
    std::snprintf(target.fileName, sizeof target.fileName, "%s", file);
    target.assigned = 1;
    target.colourKey = colourKey;

    char directory[260] = {};
    GetCurrentDirectoryA(sizeof directory, directory);
    char fullPath[256];
    int length = std::snprintf(fullPath, sizeof fullPath, "%s\\%s", directory, file);
    if (length < 0 || length >= static_cast<int>(sizeof fullPath)) {
        return false;  // a cut path would name another file
    }

    // The image's own size, read from its header by extension; other images count as 256 x 256.
    char extension[4] = {};
    if (length >= 3) {
        for (int i = 0; i < 3; ++i) {
            extension[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(fullPath[length - 3 + i])));
        }
    }
    bool bmp = std::strcmp(extension, "bmp") == 0;
    bool dds = std::strcmp(extension, "dds") == 0;
    bool png = std::strcmp(extension, "png") == 0;
    if (bmp || dds || png) {
        std::FILE* image = OpenRegularFileStream(Win32HostPath(fullPath));  // never a pipe or folder
        if (!image) {
            return false;
        }
        std::uint32_t first = 0, second = 0;
        bool read = ReadTwoValues(image, bmp ? 18 : dds ? 12 : 16, png, &first, &second);
        std::fclose(image);
        if (!read) {
            return false;  // too short to hold the header: no size to draw by
        }
        target.imageWidth = dds ? second : first;
        target.imageHeight = dds ? first : second;
    } else {
        target.imageWidth = 256;
        target.imageHeight = 256;
    }

    IDirect3DTexture9* texture = nullptr;
    HRESULT result = D3DXCreateTextureFromFileExA(device, file, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                  D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                                  colourKey, nullptr, nullptr, &texture);
    if (FAILED(result)) {
        return false;
    }
    target.texture = texture;
    return true;
}

void GraphicsEngine::ReleaseTexture(int slot)
{
    if (slot < 0 || slot >= kTextureSlotCount) {
        return;
    }
    if (textureSlots[slot].texture) {
        textureSlots[slot].texture->Release();
        textureSlots[slot].texture = nullptr;
    }
}

bool GraphicsEngine::LoadMesh(std::uint32_t index, const char* file, const char* folder)
{
    // An entry can only be stored at an existing index or just after the last.
    if (!file || index > meshes.size()) {
        return false;
    }
    bool inFolder = folder && folder[0] != '\0';
    char path[260];
    int length = inFolder ? std::snprintf(path, sizeof path, "%s/%s", folder, file)
                          : std::snprintf(path, sizeof path, "%s", file);
    if (length < 0 || length >= static_cast<int>(sizeof path)) {
        return false;
    }
    MeshEntry entry;
    DWORD materialCount = 0;
    if (FAILED(D3DXLoadMeshFromXA(path, D3DXMESH_MANAGED, device, &entry.adjacency, &entry.materialBuffer, nullptr,
                                  &materialCount, &entry.mesh))) {
        return false;
    }
    entry.materialCount = materialCount;
    entry.materials = new (std::nothrow) D3DMATERIAL9[materialCount];
    entry.textures = new (std::nothrow) IDirect3DTexture9*[materialCount]();
    if (!entry.materials || !entry.textures) {
        entry.loaded = 1;
        ReleaseMeshEntry(entry);
        return false;
    }
    auto* loaded = static_cast<D3DXMATERIAL*>(entry.materialBuffer->GetBufferPointer());
    for (DWORD i = 0; i < materialCount; ++i) {
        entry.materials[i] = loaded[i].MatD3D;
        entry.materials[i].Ambient.r = entry.materials[i].Diffuse.r * 0.5f;
        entry.materials[i].Ambient.g = entry.materials[i].Diffuse.g * 0.5f;
        entry.materials[i].Ambient.b = entry.materials[i].Diffuse.b * 0.5f;
        entry.textures[i] = nullptr;
        const char* name = loaded[i].pTextureFilename;
        if (name && name[0] != '\0') {
            char texturePath[260];
            length = inFolder ? std::snprintf(texturePath, sizeof texturePath, "%s/%s", folder, name)
                              : std::snprintf(texturePath, sizeof texturePath, "%s", name);
            IDirect3DTexture9* texture = nullptr;
            if (length > 0 && length < static_cast<int>(sizeof texturePath) &&
                SUCCEEDED(D3DXCreateTextureFromFileA(device, texturePath, &texture))) {
                entry.textures[i] = texture;
            }
        }
    }
    D3DXMatrixIdentity(&entry.world);
    entry.loaded = 1;

    // Entries replaced or dropped by the resize are released first rather than leaked.
    for (std::size_t i = index; i < meshes.size(); ++i) {
        ReleaseMeshEntry(meshes[i]);
    }
    meshes.resize(index + 1);
    meshes[index] = entry;
    return true;
}

void GraphicsEngine::DrawMesh(float x, float y, float z, float rotX, float rotY, float rotZ, std::uint32_t index)
{
    if (drawEnabled == 0) {
        return;
    }
    // Nothing to draw for an entry that was never stored.
    if (index >= meshes.size() || meshes[index].loaded != 1 || !meshes[index].mesh) {
        return;
    }
    MeshEntry& entry = meshes[index];
    const float toRadians = 0.017453292f;
    D3DXMATRIX rx, ry, rz, translation;
    D3DXMatrixRotationX(&rx, rotX * toRadians);
    D3DXMatrixRotationY(&ry, rotY * toRadians);
    D3DXMatrixRotationZ(&rz, rotZ * toRadians);
    D3DXMatrixTranslation(&translation, x, y, z);
    D3DXMATRIX world = rx * ry * rz * translation;
    device->SetTransform(D3DTS_WORLD, &world);
    for (std::uint32_t i = 0; i < entry.materialCount; ++i) {
        device->SetMaterial(&entry.materials[i]);
        device->SetTexture(0, entry.textures[i]);
        entry.mesh->DrawSubset(i);
    }
}

void GraphicsEngine::ReleaseMeshEntry(MeshEntry& entry)
{
    if (entry.loaded != 1) {
        return;
    }
    if (entry.textures) {
        for (std::uint32_t i = 0; i < entry.materialCount; ++i) {
            if (entry.textures[i]) {
                entry.textures[i]->Release();
                entry.textures[i] = nullptr;
            }
        }
    }
    delete[] entry.materials;
    entry.materials = nullptr;
    delete[] entry.textures;
    entry.textures = nullptr;
    if (entry.materialBuffer) {
        entry.materialBuffer->Release();
        entry.materialBuffer = nullptr;
    }
    if (entry.adjacency) {
        entry.adjacency->Release();
        entry.adjacency = nullptr;
    }
    if (entry.mesh) {
        entry.mesh->Release();
        entry.mesh = nullptr;
    }
}

void GraphicsEngine::ReleaseMeshes()
{
    for (auto& entry : meshes) {
        ReleaseMeshEntry(entry);
    }
}
