#pragma once
#include "platform/d3d9/D3D9.h"

// The full capability check: picks the adapter and device type and builds both present-parameter sets.
class DeviceCheck {
public:
    explicit DeviceCheck(IDirect3D9* direct3D);
    virtual ~DeviceCheck() = default;

    HRESULT Check(UINT* adapter, D3DDEVTYPE* deviceType);
    static HRESULT CheckDeviceCaps(const D3DCAPS9& caps);
    HRESULT CheckDisplayFormats(UINT adapter, D3DDEVTYPE deviceType, const D3DDISPLAYMODE& displayMode);
    HRESULT CheckDepthStencilFormat(UINT adapter, D3DDEVTYPE deviceType, const D3DDISPLAYMODE& displayMode);
    HRESULT CheckRenderTextureFormats(UINT adapter, D3DDEVTYPE deviceType, const D3DDISPLAYMODE& displayMode);
    HRESULT CheckMultiSample(UINT adapter, D3DDEVTYPE deviceType);
    HRESULT FindDisplayMode(UINT adapter);
    void GetPresentParameters(D3DPRESENT_PARAMETERS* windowedOut, D3DPRESENT_PARAMETERS* fullScreenOut) const;

private:
    void CheckMultiSampleFor(UINT adapter, D3DDEVTYPE deviceType, D3DPRESENT_PARAMETERS* set, BOOL windowed);

    IDirect3D9* direct3D;  // borrowed
    D3DPRESENT_PARAMETERS windowedPresentParameters{};
    D3DPRESENT_PARAMETERS fullScreenPresentParameters{};
    D3DFORMAT windowedRenderTextureFormat = D3DFMT_UNKNOWN;
    D3DFORMAT fullScreenRenderTextureFormat = D3DFMT_UNKNOWN;
    D3DFORMAT backBufferFormats[3] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5};
    D3DFORMAT renderTextureFormats[3] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5};
    D3DFORMAT depthStencilFormat = D3DFMT_D24S8;
    UINT presentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    D3DDISPLAYMODE displayMode{};
};
