#pragma once
// The device's state and rules shared by the OpenGL device and the recording device: render and
// stage states, transforms, light, material, bound texture and depth surface, and device loss.
#include <array>
#include <atomic>
#include <memory>

#include "platform/d3d9/D3D9.h"
#include "platform/d3d9/RefCounted.h"

class Surface;
class Texture;

// One draw: triangles from user memory, optionally indexed.
struct DrawBatch {
    DWORD fvf;
    UINT triangles;
    const BYTE* vertices;
    UINT stride;
    const void* indices;  // null: vertices are taken in order
    D3DFORMAT indexFormat;
    UINT vertexCount;     // indexed: the vertices the indices may name, from the first
};

class DeviceBase : public RefCounted<IDirect3DDevice9> {
public:
    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow, const void* dirtyRegion) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
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
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* shared) override;
    HRESULT GetFrontBufferData(UINT swapChain, IDirect3DSurface9* surface) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination) override;

    // Seams for tests: a loss as the window system would cause it. While held, the device can
    // be neither used nor reset.
    void ForceLoss(bool held);
    void ReleaseLossHold();
    bool IsLost() const { return lost_; }
    const D3DPRESENT_PARAMETERS& Parameters() const { return parameters_; }
    int LiveDefaultPoolObjects() const { return *defaultPoolCount_; }
    double PresentSeconds() const { return presentSeconds_; }
    int PictureCopies() const { return pictureCopies_; }

protected:
    DeviceBase(IDirect3D9* owner, HWND window);
    ~DeviceBase() override;

    // Fills in what the parameters leave to the device (sizes 0, format unknown), sets the
    // defaults of every state and lets the backend follow. False when the backend cannot.
    bool Start(D3DPRESENT_PARAMETERS* parameters);

    // Backend work; the base has already checked and recorded the state. The window is made
    // ready for the mode first, so that a windowed back buffer takes the restored client size.
    virtual void PrepareWindow(const D3DPRESENT_PARAMETERS&) {}
    virtual bool ApplyPresentation(const D3DPRESENT_PARAMETERS&) { return true; }
    virtual void DoClear(DWORD, D3DCOLOR, float) {}
    virtual void DoDraw(const DrawBatch&) {}
    virtual void DoPresent() {}
    virtual void DoReadFront(Surface* target);
    virtual void DoReadBack(Surface* target);

    HWND window_;
    D3DPRESENT_PARAMETERS parameters_{};
    std::array<DWORD, D3D9RenderStateCount> renderStates_{};
    std::array<DWORD, D3D9StageStateCount> stageStates_{};
    D3DMATRIX world_{}, view_{}, projection_{};
    D3DVIEWPORT9 viewport_{};
    D3DLIGHT9 light_{};
    bool lightEnabled_ = false;
    D3DMATERIAL9 material_{};
    Texture* texture_ = nullptr;  // holds a reference
    Surface* depthSurface_ = nullptr;  // holds a reference
    bool depthBound_ = false;
    DWORD fvf_ = 0;
    bool inScene_ = false;
    int pictureCopies_ = 0;  // counted by the backend that makes them

private:
    void SetDefaultStates();
    bool WindowAvailable() const;
    void NoteLoss();

    IDirect3D9* owner_;
    std::shared_ptr<std::atomic<int>> defaultPoolCount_ = std::make_shared<std::atomic<int>>(0);
    bool lost_ = false;
    bool held_ = false;
    double presentSeconds_ = 0.0;
};
