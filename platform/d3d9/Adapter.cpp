#include "platform/d3d9/Adapter.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/d3d9/DeviceBase.h"
#include "platform/d3d9/GlDevice.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/win32/Win32Sdl.h"

namespace {

std::mutex g_hookMutex;
std::optional<D3D9AdapterAnswers> g_answers;

bool Contains(const std::vector<D3DFORMAT>& list, D3DFORMAT format)
{
    return std::find(list.begin(), list.end(), format) != list.end();
}

DeviceBase* AsDevice(IDirect3DDevice9* device)
{
    return dynamic_cast<DeviceBase*>(device);
}

}  // namespace

void D3D9SetAdapterAnswers(std::optional<D3D9AdapterAnswers> answers)
{
    std::lock_guard lock(g_hookMutex);
    g_answers = std::move(answers);
}

std::vector<D3D9CreateDeviceRecord>& D3D9CreateDeviceLog()
{
    static std::vector<D3D9CreateDeviceRecord> log;
    return log;
}

void D3D9ForceDeviceLoss(IDirect3DDevice9* device, bool held)
{
    if (auto* d = AsDevice(device)) {
        d->ForceLoss(held);
    }
}

void D3D9ReleaseDeviceLossHold(IDirect3DDevice9* device)
{
    if (auto* d = AsDevice(device)) {
        d->ReleaseLossHold();
    }
}

int D3D9LiveDefaultPoolObjects(IDirect3DDevice9* device)
{
    auto* d = AsDevice(device);
    return d ? d->LiveDefaultPoolObjects() : 0;
}

D3DPRESENT_PARAMETERS D3D9DeviceParameters(IDirect3DDevice9* device)
{
    auto* d = AsDevice(device);
    return d ? d->Parameters() : D3DPRESENT_PARAMETERS{};
}

double D3D9PresentSeconds(IDirect3DDevice9* device)
{
    auto* d = AsDevice(device);
    return d ? d->PresentSeconds() : 0.0;
}

int D3D9PictureCopies(IDirect3DDevice9* device)
{
    auto* d = AsDevice(device);
    return d ? d->PictureCopies() : 0;
}

IDirect3D9* Direct3DCreate9(UINT sdkVersion)
{
    std::optional<D3D9AdapterAnswers> answers;
    {
        std::lock_guard lock(g_hookMutex);
        answers = g_answers;
    }
    if (sdkVersion != D3D_SDK_VERSION) {
        return nullptr;
    }
    if (answers) {
        if (answers->createFails) {
            return nullptr;
        }
        if (!answers->recordingDevice && !Win32EnsureSdlVideo()) {
            return nullptr;
        }
    } else if (!Win32EnsureSdlVideo()) {
        return nullptr;
    }
    return new Adapter(std::move(answers));
}

// The OpenGL backend renders every picture in 32-bit colour with a 16- or 24-bit depth buffer and
// no multisampling; the display modes are SDL's.
const D3D9AdapterAnswers& Adapter::Answers()
{
    if (answers_) {
        return *answers_;
    }
    if (!real_) {
        D3D9AdapterAnswers real;
        real.recordingDevice = false;
        real.backBufferFormats = {D3DFMT_X8R8G8B8};
        real.depthFormats = {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D24X8};
        real.renderTextureFormats = {D3DFMT_X8R8G8B8};
        real.multiSample = {{D3DMULTISAMPLE_NONE, 1}};
        real.failingCreates = {{D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                               {D3DDEVTYPE_REF, D3DCREATE_HARDWARE_VERTEXPROCESSING}};
        real.refCapsResult = D3DERR_NOTAVAILABLE;
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            real.displayMode = D3DDISPLAYMODE{static_cast<UINT>(desktop.w), static_cast<UINT>(desktop.h),
                                              static_cast<UINT>(desktop.refresh_rate), D3DFMT_X8R8G8B8};
        } else {
            real.displayModeResult = D3DERR_NOTAVAILABLE;
        }
        real.modes.clear();
        int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode mode;
            if (SDL_GetDisplayMode(0, i, &mode) == 0) {
                real.modes.push_back(D3DDISPLAYMODE{static_cast<UINT>(mode.w), static_cast<UINT>(mode.h),
                                                    static_cast<UINT>(mode.refresh_rate), D3DFMT_X8R8G8B8});
            }
        }
        // Full screen never changes the display mode: any back buffer up to the desktop's size is
        // shown scaled onto it, so the common sizes a display adapter offers are modes here too.
        static const std::pair<UINT, UINT> kCommonSizes[] = {{640, 480}, {800, 600}, {1024, 768}};
        for (const auto& size : kCommonSizes) {
            UINT w = size.first, h = size.second;
            bool fits = w <= real.displayMode.Width && h <= real.displayMode.Height;
            bool listed = std::any_of(real.modes.begin(), real.modes.end(),
                                      [&](const D3DDISPLAYMODE& m) { return m.Width == w && m.Height == h; });
            if (fits && !listed && SUCCEEDED(real.displayModeResult)) {
                real.modes.push_back(D3DDISPLAYMODE{w, h, real.displayMode.RefreshRate, D3DFMT_X8R8G8B8});
            }
        }
        real_ = std::move(real);
    }
    return *real_;
}

HRESULT Adapter::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    if (adapter != 0 || !mode) {
        return D3DERR_INVALIDCALL;
    }
    const auto& a = Answers();
    if (FAILED(a.displayModeResult)) {
        return a.displayModeResult;
    }
    *mode = a.displayMode;
    return D3D_OK;
}

HRESULT Adapter::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps)
{
    if (adapter != 0 || !caps) {
        return D3DERR_INVALIDCALL;
    }
    const auto& a = Answers();
    HRESULT result = type == D3DDEVTYPE_HAL ? a.halCapsResult : a.refCapsResult;
    if (FAILED(result)) {
        return result;
    }
    *caps = type == D3DDEVTYPE_HAL ? a.halCaps : a.refCaps;
    return D3D_OK;
}

HRESULT Adapter::CheckDeviceType(UINT adapter, D3DDEVTYPE, D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                                 BOOL windowed)
{
    if (adapter != 0) {
        return D3DERR_INVALIDCALL;
    }
    const auto& a = Answers();
    if (!Contains(a.backBufferFormats, backBufferFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    // Windowed, the display keeps its own format; full screen, display and back buffer match.
    if (windowed ? displayFormat != a.displayMode.Format : displayFormat != backBufferFormat) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HRESULT Adapter::CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT, DWORD usage, D3DRESOURCETYPE resourceType,
                                   D3DFORMAT checkFormat)
{
    if (adapter != 0) {
        return D3DERR_INVALIDCALL;
    }
    const auto& a = Answers();
    if (usage == D3DUSAGE_DEPTHSTENCIL && resourceType == D3DRTYPE_SURFACE) {
        return Contains(a.depthFormats, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    if (usage == D3DUSAGE_RENDERTARGET && resourceType == D3DRTYPE_TEXTURE) {
        return Contains(a.renderTextureFormats, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    return D3DERR_NOTAVAILABLE;
}

HRESULT Adapter::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE, D3DFORMAT, D3DFORMAT renderTargetFormat,
                                        D3DFORMAT depthStencilFormat)
{
    if (adapter != 0) {
        return D3DERR_INVALIDCALL;
    }
    const auto& a = Answers();
    bool target = Contains(a.backBufferFormats, renderTargetFormat) ||
                  Contains(a.renderTextureFormats, renderTargetFormat);
    return target && Contains(a.depthFormats, depthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Adapter::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE, D3DFORMAT, BOOL,
                                            D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels)
{
    if (adapter != 0) {
        return D3DERR_INVALIDCALL;
    }
    for (const auto& [type, levels] : Answers().multiSample) {
        if (type == multiSample) {
            if (qualityLevels) {
                *qualityLevels = levels;
            }
            return D3D_OK;
        }
    }
    return D3DERR_NOTAVAILABLE;
}

std::vector<D3DDISPLAYMODE> Adapter::Modes(D3DFORMAT format)
{
    std::vector<D3DDISPLAYMODE> modes;
    for (const auto& mode : Answers().modes) {
        if (mode.Format == format) {
            modes.push_back(mode);
        }
    }
    return modes;
}

UINT Adapter::GetAdapterModeCount(UINT adapter, D3DFORMAT format)
{
    return adapter == 0 ? static_cast<UINT>(Modes(format).size()) : 0;
}

HRESULT Adapter::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* out)
{
    auto modes = Modes(format);
    if (adapter != 0 || !out || mode >= modes.size()) {
        return D3DERR_INVALIDCALL;
    }
    *out = modes[mode];
    return D3D_OK;
}

HRESULT Adapter::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                              D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device)
{
    HRESULT result = D3D_OK;
    DWORD processing = behaviourFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING);
    const auto& a = Answers();
    if (adapter != 0 || !parameters || !device || !focusWindow ||
        (processing != D3DCREATE_HARDWARE_VERTEXPROCESSING && processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING)) {
        result = D3DERR_INVALIDCALL;
    } else if (std::find(a.failingCreates.begin(), a.failingCreates.end(), std::make_pair(type, processing)) !=
               a.failingCreates.end()) {
        result = D3DERR_NOTAVAILABLE;
    } else {
        HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
        DeviceBase* created = nullptr;
        if (a.recordingDevice) {
            created = RecordingDevice::Create(this, window, parameters);
        } else {
            created = GlDevice::Create(this, window, parameters);
        }
        if (created) {
            *device = created;
        } else {
            result = D3DERR_NOTAVAILABLE;
        }
    }
    D3D9CreateDeviceLog().push_back(
        D3D9CreateDeviceRecord{type, behaviourFlags, parameters ? *parameters : D3DPRESENT_PARAMETERS{}, result});
    return result;
}
