#pragma once
// A device for tests that draws nothing and records every call with its arguments and vertices.
#include <string>
#include <vector>

#include "platform/d3d9/DeviceBase.h"

struct RecordedCall {
    std::string name;
    std::vector<double> args;     // integers, floats, and pointers as numbers
    std::vector<BYTE> vertices;   // the draw's vertex memory, copied
    UINT stride = 0;
};

// The layout of a pre-transformed vertex (format 0x1C4) as recorded.
struct RecordedVertex {
    float x, y, z, rhw;
    DWORD diffuse, specular;
    float u, v;
};

class RecordingDevice final : public DeviceBase {
public:
    static RecordingDevice* Create(IDirect3D9* owner, HWND window, D3DPRESENT_PARAMETERS* parameters);
    // The recording device behind a device pointer, or null for any other device.
    static RecordingDevice* From(IDirect3DDevice9* device);

    std::vector<RecordedCall> calls;
    void ClearCalls() { calls.clear(); }
    std::vector<RecordedCall> Named(const std::string& name) const;
    static std::vector<RecordedVertex> Vertices(const RecordedCall& call);

    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow, const void* dirtyRegion) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT primitiveCount,
                                   const void* indices, D3DFORMAT indexFormat, const void* vertices,
                                   UINT stride) override;
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                      DWORD quality, BOOL discard, IDirect3DSurface9** surface,
                                      HANDLE* shared) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override;

private:
    RecordingDevice(IDirect3D9* owner, HWND window) : DeviceBase(owner, window) {}
    HRESULT Note(const char* name, std::vector<double> args, HRESULT result);
};
