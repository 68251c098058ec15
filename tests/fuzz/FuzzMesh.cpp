// The mesh reader (.x through the importer): a loaded mesh has its adjacency for every face.
#include <cstdlib>

#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/RecordingDevice.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static IDirect3DDevice9* device = [] {
        // The recording device needs no display; the in-memory video driver must be asked for.
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        D3DPRESENT_PARAMETERS parameters{};
        parameters.BackBufferWidth = 640;
        parameters.BackBufferHeight = 480;
        parameters.Windowed = TRUE;
        IDirect3DDevice9* created = RecordingDevice::Create(Direct3DCreate9(D3D_SDK_VERSION), nullptr, &parameters);
        FuzzCheck(created != nullptr, "the recording device starts");
        return created;
    }();
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    if (SUCCEEDED(D3DXLoadMeshFromXInMemory(data, static_cast<DWORD>(size), D3DXMESH_MANAGED, device, &adjacency,
                                            &materials, nullptr, &count, &mesh))) {
        FuzzCheck(adjacency->GetBufferSize() == mesh->GetNumFaces() * 3 * sizeof(DWORD), "adjacency per face");
        mesh->Release();
        materials->Release();
        adjacency->Release();
    }
    return 0;
}
