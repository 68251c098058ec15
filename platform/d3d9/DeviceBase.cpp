#include "platform/d3d9/DeviceBase.h"

#include <chrono>
#include <cstring>

#include "platform/d3d9/Surface.h"
#include "platform/d3d9/Texture.h"
#include "platform/win32/Win32Window.h"

namespace {

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

DWORD FloatBits(float value)
{
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

DeviceBase::DeviceBase(IDirect3D9* owner, HWND window) : window_(window), owner_(owner)
{
    owner_->AddRef();
}

DeviceBase::~DeviceBase()
{
    if (texture_) {
        texture_->Release();
    }
    if (depthSurface_) {
        depthSurface_->Release();
    }
    owner_->Release();
}

bool DeviceBase::Start(D3DPRESENT_PARAMETERS* parameters)
{
    PrepareWindow(*parameters);
    if (parameters->Windowed) {
        RECT client{0, 0, 640, 480};
        GetClientRect(window_, &client);
        if (parameters->BackBufferWidth == 0) {
            parameters->BackBufferWidth = static_cast<UINT>(client.right - client.left);
        }
        if (parameters->BackBufferHeight == 0) {
            parameters->BackBufferHeight = static_cast<UINT>(client.bottom - client.top);
        }
        if (parameters->BackBufferFormat == D3DFMT_UNKNOWN) {
            parameters->BackBufferFormat = D3DFMT_X8R8G8B8;
        }
    }
    if (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0 ||
        parameters->BackBufferFormat == D3DFMT_UNKNOWN) {
        return false;
    }
    if (parameters->BackBufferCount == 0) {
        parameters->BackBufferCount = 1;
    }
    if (!ApplyPresentation(*parameters)) {
        return false;
    }
    parameters_ = *parameters;
    SetDefaultStates();
    return true;
}

void DeviceBase::SetDefaultStates()
{
    renderStates_.fill(0);
    renderStates_[D3DRS_ZENABLE] = parameters_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    renderStates_[D3DRS_ZWRITEENABLE] = TRUE;
    renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    renderStates_[D3DRS_LIGHTING] = TRUE;
    renderStates_[D3DRS_FOGSTART] = FloatBits(0.0f);
    renderStates_[D3DRS_FOGEND] = FloatBits(1.0f);
    renderStates_[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    stageStates_.fill(0);
    stageStates_[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    stageStates_[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    stageStates_[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    stageStates_[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    stageStates_[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    stageStates_[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    world_ = view_ = projection_ = Identity();
    viewport_ = D3DVIEWPORT9{0, 0, parameters_.BackBufferWidth, parameters_.BackBufferHeight, 0.0f, 1.0f};
    light_ = D3DLIGHT9{};
    lightEnabled_ = false;
    material_ = D3DMATERIAL9{};
    if (texture_) {
        texture_->Release();
        texture_ = nullptr;
    }
    if (depthSurface_) {
        depthSurface_->Release();
        depthSurface_ = nullptr;
    }
    depthBound_ = parameters_.EnableAutoDepthStencil != FALSE;
    fvf_ = 0;
    inScene_ = false;
}

bool DeviceBase::WindowAvailable() const
{
    return !held_ && GetForegroundWindow() == window_ && !IsIconic(window_);
}

// A full-screen device is lost as soon as its window loses the focus or is minimised.
void DeviceBase::NoteLoss()
{
    if (held_ || (!parameters_.Windowed && !WindowAvailable())) {
        lost_ = true;
    }
}

void DeviceBase::ForceLoss(bool held)
{
    lost_ = true;
    held_ = held;
}

void DeviceBase::ReleaseLossHold()
{
    held_ = false;
}

HRESULT DeviceBase::TestCooperativeLevel()
{
    NoteLoss();
    if (!lost_) {
        return D3D_OK;
    }
    if (held_ || (!parameters_.Windowed && !WindowAvailable())) {
        return D3DERR_DEVICELOST;
    }
    return D3DERR_DEVICENOTRESET;
}

HRESULT DeviceBase::Reset(D3DPRESENT_PARAMETERS* parameters)
{
    if (!parameters) {
        return D3DERR_INVALIDCALL;
    }
    if (held_ || (!parameters->Windowed && !WindowAvailable())) {
        lost_ = true;
        return D3DERR_DEVICELOST;
    }
    // The device lets go of what is bound to it; every default-pool object the program made must
    // be gone too, or the device stays unusable until a good Reset.
    if (depthSurface_) {
        depthSurface_->Release();
        depthSurface_ = nullptr;
    }
    if (texture_) {
        texture_->Release();
        texture_ = nullptr;
    }
    if (*defaultPoolCount_ > 0) {
        lost_ = true;
        return D3DERR_INVALIDCALL;
    }
    if (!Start(parameters)) {
        lost_ = true;
        return D3DERR_INVALIDCALL;
    }
    lost_ = false;
    return D3D_OK;
}

HRESULT DeviceBase::Present(const RECT*, const RECT*, HWND, const void*)
{
    NoteLoss();
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    auto start = std::chrono::steady_clock::now();
    DoPresent();
    presentSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return D3D_OK;
}

HRESULT DeviceBase::BeginScene()
{
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    return D3D_OK;
}

HRESULT DeviceBase::EndScene()
{
    if (!inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    return D3D_OK;
}

HRESULT DeviceBase::Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD)
{
    if (count != 0 || rects != nullptr) {
        return D3DERR_INVALIDCALL;  // only whole-viewport clears are supported
    }
    if ((flags & D3DCLEAR_ZBUFFER) && !depthBound_) {
        return D3DERR_INVALIDCALL;
    }
    if (!lost_) {
        DoClear(flags, colour, z);
    }
    return D3D_OK;
}

HRESULT DeviceBase::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    if (!matrix) {
        return D3DERR_INVALIDCALL;
    }
    switch (state) {
    case D3DTS_WORLD: world_ = *matrix; return D3D_OK;
    case D3DTS_VIEW: view_ = *matrix; return D3D_OK;
    case D3DTS_PROJECTION: projection_ = *matrix; return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT DeviceBase::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    if (!matrix) {
        return D3DERR_INVALIDCALL;
    }
    switch (state) {
    case D3DTS_WORLD: *matrix = world_; return D3D_OK;
    case D3DTS_VIEW: *matrix = view_; return D3D_OK;
    case D3DTS_PROJECTION: *matrix = projection_; return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT DeviceBase::SetViewport(const D3DVIEWPORT9* viewport)
{
    if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
        viewport->X + viewport->Width > parameters_.BackBufferWidth ||
        viewport->Y + viewport->Height > parameters_.BackBufferHeight) {
        return D3DERR_INVALIDCALL;
    }
    viewport_ = *viewport;
    return D3D_OK;
}

HRESULT DeviceBase::GetViewport(D3DVIEWPORT9* viewport)
{
    if (!viewport) {
        return D3DERR_INVALIDCALL;
    }
    *viewport = viewport_;
    return D3D_OK;
}

HRESULT DeviceBase::SetMaterial(const D3DMATERIAL9* material)
{
    if (!material) {
        return D3DERR_INVALIDCALL;
    }
    material_ = *material;
    return D3D_OK;
}

HRESULT DeviceBase::SetLight(DWORD index, const D3DLIGHT9* light)
{
    if (!light || index != 0) {
        return D3DERR_INVALIDCALL;  // one light is all the fixed pipeline here offers
    }
    light_ = *light;
    return D3D_OK;
}

HRESULT DeviceBase::LightEnable(DWORD index, BOOL enable)
{
    if (index != 0) {
        return D3DERR_INVALIDCALL;
    }
    lightEnabled_ = enable != FALSE;
    return D3D_OK;
}

HRESULT DeviceBase::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (state >= D3D9RenderStateCount) {
        return D3DERR_INVALIDCALL;
    }
    renderStates_[state] = value;
    return D3D_OK;
}

HRESULT DeviceBase::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    if (state >= D3D9RenderStateCount || !value) {
        return D3DERR_INVALIDCALL;
    }
    *value = renderStates_[state];
    return D3D_OK;
}

HRESULT DeviceBase::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    auto* next = static_cast<Texture*>(texture);
    if (next) {
        next->AddRef();
    }
    if (texture_) {
        texture_->Release();
    }
    texture_ = next;
    return D3D_OK;
}

HRESULT DeviceBase::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    if (stage != 0 || type >= D3D9StageStateCount) {
        return D3DERR_INVALIDCALL;
    }
    stageStates_[type] = value;
    return D3D_OK;
}

HRESULT DeviceBase::SetFVF(DWORD fvf)
{
    fvf_ = fvf;
    return D3D_OK;
}

HRESULT DeviceBase::SetVertexShader(IDirect3DVertexShader9* shader)
{
    return shader ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT DeviceBase::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride)
{
    if (type != D3DPT_TRIANGLELIST || !vertices || stride == 0 || !inScene_) {
        return D3DERR_INVALIDCALL;
    }
    if (!lost_ && primitiveCount > 0) {
        DoDraw(DrawBatch{fvf_, primitiveCount, static_cast<const BYTE*>(vertices), stride, nullptr, D3DFMT_UNKNOWN, 0});
    }
    return D3D_OK;
}

HRESULT DeviceBase::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT primitiveCount,
                                           const void* indices, D3DFORMAT indexFormat, const void* vertices,
                                           UINT stride)
{
    if (type != D3DPT_TRIANGLELIST || !vertices || !indices || stride == 0 || !inScene_ ||
        (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32)) {
        return D3DERR_INVALIDCALL;
    }
    if (!lost_ && primitiveCount > 0) {
        DoDraw(DrawBatch{fvf_, primitiveCount, static_cast<const BYTE*>(vertices), stride, indices, indexFormat,
                         minIndex + vertexCount});
    }
    return D3D_OK;
}

HRESULT DeviceBase::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                              D3DMULTISAMPLE_TYPE multiSample, DWORD quality, BOOL,
                                              IDirect3DSurface9** surface, HANDLE*)
{
    if (!surface || width == 0 || height == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (format != D3DFMT_D16 && format != D3DFMT_D24S8 && format != D3DFMT_D24X8 && format != D3DFMT_D32) {
        return D3DERR_INVALIDCALL;
    }
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, multiSample, quality,
                         width, height};
    *surface = new Surface(desc, defaultPoolCount_);
    return D3D_OK;
}

HRESULT DeviceBase::SetDepthStencilSurface(IDirect3DSurface9* surface)
{
    auto* next = static_cast<Surface*>(surface);
    if (next && next->Desc().Usage != D3DUSAGE_DEPTHSTENCIL) {
        return D3DERR_INVALIDCALL;
    }
    if (next) {
        next->AddRef();
    }
    if (depthSurface_) {
        depthSurface_->Release();
    }
    depthSurface_ = next;
    depthBound_ = next != nullptr;
    return D3D_OK;
}

HRESULT DeviceBase::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DSurface9** surface, HANDLE*)
{
    if (!surface || width == 0 || height == 0 || format != D3DFMT_A8R8G8B8 || pool != D3DPOOL_SYSTEMMEM) {
        return D3DERR_INVALIDCALL;
    }
    D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, 0, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    *surface = new Surface(desc, nullptr);
    return D3D_OK;
}

HRESULT DeviceBase::GetFrontBufferData(UINT swapChain, IDirect3DSurface9* surface)
{
    auto* target = static_cast<Surface*>(surface);
    if (swapChain != 0 || !target || target->Texels().empty()) {
        return D3DERR_INVALIDCALL;
    }
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    DoReadFront(target);
    return D3D_OK;
}

HRESULT DeviceBase::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DTexture9** texture, HANDLE*)
{
    if (!texture || width == 0 || height == 0 || levels != 1 || usage != 0 || pool != D3DPOOL_MANAGED ||
        (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8)) {
        return D3DERR_INVALIDCALL;
    }
    Image level;
    level.width = width;
    level.height = height;
    level.texels.assign(static_cast<std::size_t>(width) * height, 0xFF000000u);
    *texture = new Texture({std::move(level)}, format);
    return D3D_OK;
}

// The back buffer is a default-pool surface of its own: it must be let go of before a Reset.
HRESULT DeviceBase::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface)
{
    if (swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO || !surface) {
        return D3DERR_INVALIDCALL;
    }
    D3DSURFACE_DESC desc{parameters_.BackBufferFormat, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                         parameters_.MultiSampleType, parameters_.MultiSampleQuality, parameters_.BackBufferWidth,
                         parameters_.BackBufferHeight};
    *surface = new Surface(desc, defaultPoolCount_);
    return D3D_OK;
}

HRESULT DeviceBase::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination)
{
    auto* source = static_cast<Surface*>(renderTarget);
    auto* target = static_cast<Surface*>(destination);
    if (!source || !target || source->Desc().Usage != D3DUSAGE_RENDERTARGET ||
        target->Desc().Pool != D3DPOOL_SYSTEMMEM || target->Desc().Width != parameters_.BackBufferWidth ||
        target->Desc().Height != parameters_.BackBufferHeight) {
        return D3DERR_INVALIDCALL;
    }
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    DoReadBack(target);
    return D3D_OK;
}

void DeviceBase::DoReadBack(Surface* target)
{
    std::fill(target->Texels().begin(), target->Texels().end(), 0xFF000000u);
}

void DeviceBase::DoReadFront(Surface* target)
{
    std::fill(target->Texels().begin(), target->Texels().end(), 0xFF000000u);
}
