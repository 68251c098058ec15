#pragma once
// IDirect3D9: adapter 0 answered from SDL's display and the OpenGL backend, or from a test's answers.
#include <optional>

#include "platform/d3d9/D3D9TestHooks.h"
#include "platform/d3d9/RefCounted.h"

class Adapter final : public RefCounted<IDirect3D9> {
public:
    explicit Adapter(std::optional<D3D9AdapterAnswers> answers) : answers_(std::move(answers)) {}

    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                            BOOL windowed) override;
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override;
    HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) override;
    HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat, BOOL windowed,
                                       D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels) override;
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* out) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

private:
    const D3D9AdapterAnswers& Answers();
    std::vector<D3DDISPLAYMODE> Modes(D3DFORMAT format);

    std::optional<D3D9AdapterAnswers> answers_;
    std::optional<D3D9AdapterAnswers> real_;
};
