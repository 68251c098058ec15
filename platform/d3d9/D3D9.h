#pragma once
// The Direct3D 9 objects the game uses, as reference-counted interfaces over OpenGL.
#include "platform/d3d9/D3D9Types.h"
#include "platform/win32/Win32Com.h"

struct IDirect3DResource9 : IUnknown {};

struct IDirect3DSurface9 : IDirect3DResource9 {
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
    // Plain surfaces only: their A8R8G8B8 pixels, top row first.
    virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect() = 0;
};

struct IDirect3DBaseTexture9 : IDirect3DResource9 {
    virtual DWORD GetLevelCount() = 0;
};

struct IDirect3DTexture9 : IDirect3DBaseTexture9 {
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    // Level 0 of a texture made by CreateTexture: its texels, top row first.
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;
};

// Shaders are never created; the type exists so the fixed-function pipeline can be selected.
struct IDirect3DVertexShader9 : IUnknown {};

struct IDirect3DDevice9 : IUnknown {
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    virtual HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow, const void* dirtyRegion) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    virtual HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
    virtual HRESULT SetLight(DWORD index, const D3DLIGHT9* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
    virtual HRESULT SetFVF(DWORD fvf) = 0;
    virtual HRESULT SetVertexShader(IDirect3DVertexShader9* shader) = 0;
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) = 0;
    virtual HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT primitiveCount,
                                           const void* indices, D3DFORMAT indexFormat, const void* vertices,
                                           UINT stride) = 0;
    virtual HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                              DWORD quality, BOOL discard, IDirect3DSurface9** surface,
                                              HANDLE* shared) = 0;
    virtual HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) = 0;
    virtual HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DSurface9** surface, HANDLE* shared) = 0;
    virtual HRESULT GetFrontBufferData(UINT swapChain, IDirect3DSurface9* surface) = 0;
    // One-level managed textures of 32-bit texels.
    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DTexture9** texture, HANDLE* shared) = 0;
    virtual HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface9** surface) = 0;
    // From the back buffer into a plain system-memory surface of its size.
    virtual HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination) = 0;
};

struct IDirect3D9 : IUnknown {
    virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) = 0;
    virtual HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                    D3DFORMAT backBufferFormat, BOOL windowed) = 0;
    virtual HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) = 0;
    virtual HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                           D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) = 0;
    virtual HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat, BOOL windowed,
                                               D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels) = 0;
    virtual UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) = 0;
    virtual HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* out) = 0;
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) = 0;
};

// Null when no display can be opened (or a test says so).
IDirect3D9* Direct3DCreate9(UINT sdkVersion);
