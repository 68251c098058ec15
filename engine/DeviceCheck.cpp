#include "engine/DeviceCheck.h"

#include <cstdlib>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"

namespace {

HRESULT Reported(ErrorStringId id, HRESULT result)
{
    if (g_errorReporter) {
        g_errorReporter->Report(id, result);
    }
    return result;
}

}  // namespace

DeviceCheck::DeviceCheck(IDirect3D9* direct3D) : direct3D(direct3D) {}

HRESULT DeviceCheck::Check(UINT* adapter, D3DDEVTYPE* deviceType)
{
    *adapter = D3DADAPTER_DEFAULT;
    *deviceType = D3DDEVTYPE_HAL;
    D3DCAPS9 caps{};
    HRESULT result = direct3D->GetDeviceCaps(*adapter, *deviceType, &caps);
    if (SUCCEEDED(result)) {
        result = CheckDeviceCaps(caps);
    }
    if (FAILED(result)) {
        *deviceType = D3DDEVTYPE_REF;
        result = direct3D->GetDeviceCaps(*adapter, *deviceType, &caps);
        if (SUCCEEDED(result)) {
            result = CheckDeviceCaps(caps);
        }
        if (FAILED(result)) {
            return Reported(ErrorStringId::DeviceCapsFailed, result);
        }
    }
    result = direct3D->GetAdapterDisplayMode(*adapter, &displayMode);
    if (FAILED(result)) {
        return Reported(ErrorStringId::DisplayModeFailed, result);
    }
    result = CheckDisplayFormats(*adapter, *deviceType, displayMode);
    if (FAILED(result)) {
        return Reported(ErrorStringId::BackBufferFormatFailed, result);
    }
    if (depthStencilFormat != 0) {
        result = CheckDepthStencilFormat(*adapter, *deviceType, displayMode);
        if (FAILED(result)) {
            return Reported(ErrorStringId::DepthStencilFormatFailed, result);
        }
    }
    result = CheckRenderTextureFormats(*adapter, *deviceType, displayMode);
    if (FAILED(result)) {
        return Reported(ErrorStringId::RenderTextureFormatFailed, result);
    }
    result = CheckMultiSample(*adapter, *deviceType);
    if (FAILED(result)) {
        return Reported(ErrorStringId::MultiSampleFailed, result);
    }
    result = FindDisplayMode(*adapter);
    if (FAILED(result)) {
        return Reported(ErrorStringId::DisplayModeEnumFailed, result);
    }
    return 0;
}

HRESULT DeviceCheck::CheckDeviceCaps(const D3DCAPS9& caps)
{
    if (caps.MaxStreams < 3u) {
        return -1;
    }
    if (caps.MaxPrimitiveCount < 65535u) {
        return -2;
    }
    if (caps.MaxVertexIndex < 65535u) {
        return -3;
    }
    return 0;
}

HRESULT DeviceCheck::CheckDisplayFormats(UINT adapter, D3DDEVTYPE deviceType, const D3DDISPLAYMODE& mode)
{
    windowedPresentParameters = D3DPRESENT_PARAMETERS{};
    windowedPresentParameters.BackBufferCount = 1;
    windowedPresentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    windowedPresentParameters.hDeviceWindow = g_mainWindow;
    windowedPresentParameters.Windowed = TRUE;
    windowedPresentParameters.PresentationInterval = presentationInterval;
    HRESULT result = E_FAIL;
    bool found = false;
    for (D3DFORMAT candidate : backBufferFormats) {
        result = direct3D->CheckDeviceType(adapter, deviceType, mode.Format, candidate, TRUE);
        if (SUCCEEDED(result)) {
            windowedPresentParameters.BackBufferFormat = candidate;
            found = true;
            break;
        }
    }
    if (!found) {
        return result;
    }
    fullScreenPresentParameters = D3DPRESENT_PARAMETERS{};
    fullScreenPresentParameters.BackBufferCount = 1;
    fullScreenPresentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    fullScreenPresentParameters.hDeviceWindow = g_mainWindow;
    fullScreenPresentParameters.Windowed = FALSE;
    fullScreenPresentParameters.PresentationInterval = presentationInterval;
    for (D3DFORMAT candidate : backBufferFormats) {
        result = direct3D->CheckDeviceType(adapter, deviceType, candidate, candidate, FALSE);
        if (SUCCEEDED(result)) {
            fullScreenPresentParameters.BackBufferFormat = candidate;
            return 0;
        }
    }
    return result;
}

HRESULT DeviceCheck::CheckDepthStencilFormat(UINT adapter, D3DDEVTYPE deviceType, const D3DDISPLAYMODE& mode)
{
    HRESULT result = direct3D->CheckDeviceFormat(adapter, deviceType, mode.Format, D3DUSAGE_DEPTHSTENCIL,
                                                 D3DRTYPE_SURFACE, depthStencilFormat);
    if (SUCCEEDED(result)) {
        result = direct3D->CheckDepthStencilMatch(adapter, deviceType, mode.Format,
                                                  windowedPresentParameters.BackBufferFormat, depthStencilFormat);
    }
    if (FAILED(result)) {
        return result;
    }
    windowedPresentParameters.EnableAutoDepthStencil = TRUE;
    windowedPresentParameters.AutoDepthStencilFormat = depthStencilFormat;
    D3DFORMAT fullScreenFormat = fullScreenPresentParameters.BackBufferFormat;
    result = direct3D->CheckDeviceFormat(adapter, deviceType, fullScreenFormat, D3DUSAGE_DEPTHSTENCIL,
                                         D3DRTYPE_SURFACE, depthStencilFormat);
    if (SUCCEEDED(result)) {
        result = direct3D->CheckDepthStencilMatch(adapter, deviceType, fullScreenFormat, fullScreenFormat,
                                                  depthStencilFormat);
    }
    if (FAILED(result)) {
        return result;
    }
    fullScreenPresentParameters.EnableAutoDepthStencil = TRUE;
    fullScreenPresentParameters.AutoDepthStencilFormat = depthStencilFormat;
    return 0;
}

HRESULT DeviceCheck::CheckRenderTextureFormats(UINT adapter, D3DDEVTYPE deviceType, const D3DDISPLAYMODE& mode)
{
    const D3DFORMAT adapterFormats[2] = {mode.Format, fullScreenPresentParameters.BackBufferFormat};
    D3DFORMAT* found[2] = {&windowedRenderTextureFormat, &fullScreenRenderTextureFormat};
    for (int pass = 0; pass < 2; ++pass) {
        *found[pass] = D3DFMT_UNKNOWN;
        HRESULT result = E_FAIL;
        for (D3DFORMAT candidate : renderTextureFormats) {
            result = direct3D->CheckDeviceFormat(adapter, deviceType, adapterFormats[pass], D3DUSAGE_RENDERTARGET,
                                                 D3DRTYPE_TEXTURE, candidate);
            if (SUCCEEDED(result)) {
                result = direct3D->CheckDepthStencilMatch(adapter, deviceType, adapterFormats[pass], candidate,
                                                          depthStencilFormat);
            }
            if (SUCCEEDED(result)) {
                *found[pass] = candidate;
                break;
            }
        }
        if (*found[pass] == D3DFMT_UNKNOWN) {
            return result;
        }
    }
    return 0;
}

void DeviceCheck::CheckMultiSampleFor(UINT adapter, D3DDEVTYPE deviceType, D3DPRESENT_PARAMETERS* set, BOOL windowed)
{
    const D3DMULTISAMPLE_TYPE types[4] = {D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_3_SAMPLES,
                                          D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_NONE};
    for (D3DMULTISAMPLE_TYPE type : types) {
        DWORD levels = 0;
        if (FAILED(direct3D->CheckDeviceMultiSampleType(adapter, deviceType, set->BackBufferFormat, windowed, type,
                                                        &levels))) {
            continue;
        }
        if (set->EnableAutoDepthStencil &&
            FAILED(direct3D->CheckDeviceMultiSampleType(adapter, deviceType, set->AutoDepthStencilFormat, windowed,
                                                        type, nullptr))) {
            continue;
        }
        set->MultiSampleType = type;
        // A type offered with no quality level keeps quality 0 rather than wrapping round.
        set->MultiSampleQuality = levels > 0 ? levels - 1 : 0;
        return;
    }
}

HRESULT DeviceCheck::CheckMultiSample(UINT adapter, D3DDEVTYPE deviceType)
{
    CheckMultiSampleFor(adapter, deviceType, &windowedPresentParameters, TRUE);
    CheckMultiSampleFor(adapter, deviceType, &fullScreenPresentParameters, FALSE);
    return 0;
}

HRESULT DeviceCheck::FindDisplayMode(UINT adapter)
{
    D3DDISPLAYMODE best{};
    long bestScore = 1000000;
    D3DFORMAT format = fullScreenPresentParameters.BackBufferFormat;
    UINT count = direct3D->GetAdapterModeCount(adapter, format);
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        if (FAILED(direct3D->EnumAdapterModes(adapter, format, i, &mode))) {
            continue;
        }
        long score = std::labs(640L - static_cast<long>(mode.Width)) + std::labs(480L - static_cast<long>(mode.Height));
        if (score < bestScore) {
            best = mode;
            bestScore = score;
        }
    }
    if (best.Format == 0) {
        return E_FAIL;
    }
    fullScreenPresentParameters.BackBufferWidth = best.Width;
    fullScreenPresentParameters.BackBufferHeight = best.Height;
    return 0;
}

void DeviceCheck::GetPresentParameters(D3DPRESENT_PARAMETERS* windowedOut, D3DPRESENT_PARAMETERS* fullScreenOut) const
{
    *windowedOut = windowedPresentParameters;
    *fullScreenOut = fullScreenPresentParameters;
}
