#include "platform/d3d9/GlDevice.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/d3d9/Surface.h"
#include "platform/d3d9/Texture.h"
#include "platform/win32/Win32Sdl.h"

namespace {

std::atomic<unsigned> g_nextContextId{1};

// Direct3D samples a pixel at its integer coordinate, OpenGL at the half; sampling a hair past
// the integer keeps Direct3D's top-left fill rule and makes texel lookups land inside the texel.
constexpr float kPixelOffset = 0.5f - 1.0f / 32.0f;

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) {
                r.m[i][j] += a.m[i][k] * b.m[k][j];
            }
        }
    }
    return r;
}

float BitsToFloat(DWORD bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void Colour(D3DCOLOR c, float out[4])
{
    out[0] = ((c >> 16) & 255) / 255.0f;
    out[1] = ((c >> 8) & 255) / 255.0f;
    out[2] = (c & 255) / 255.0f;
    out[3] = (c >> 24) / 255.0f;
}

GLenum BlendFactor(DWORD blend)
{
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum Comparison(DWORD cmp)
{
    static const GLenum table[] = {GL_ALWAYS, GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL,
                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return cmp <= 8 ? table[cmp] : GL_LEQUAL;
}

GLenum StageArgument(DWORD arg)
{
    return (arg & 0xF) == D3DTA_TEXTURE ? GL_TEXTURE : GL_PRIMARY_COLOR;
}

void SetCombine(GLenum combine, GLenum source0, GLenum source1, DWORD op, DWORD arg1, DWORD arg2)
{
    if (op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2) {
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, source0, StageArgument(op == D3DTOP_SELECTARG1 ? arg1 : arg2));
    } else {
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, source0, StageArgument(arg1));
        glTexEnvi(GL_TEXTURE_ENV, source1, StageArgument(arg2));
    }
}

}  // namespace

GlDevice* GlDevice::Create(IDirect3D9* owner, HWND window, D3DPRESENT_PARAMETERS* parameters)
{
    auto* device = new GlDevice(owner, window);
    if (!device->Open() || !device->Start(parameters)) {
        device->Release();
        return nullptr;
    }
    return device;
}

bool GlDevice::Open()
{
    if (!Win32EnsureSdlVideo()) {
        return false;
    }
    sdl_ = Win32GetSdlWindow(window_);
    if (!sdl_ || !(SDL_GetWindowFlags(sdl_) & SDL_WINDOW_OPENGL)) {
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    context_ = SDL_GL_CreateContext(sdl_);
    if (!context_) {
        return false;
    }
    contextId_ = g_nextContextId++;
    MakeCurrent();
    SDL_GL_SetSwapInterval(0);  // presentation never waits for the retrace
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &windowDepthBits_);
    glGenFramebuffers(1, &backFbo_);
    glGenFramebuffers(1, &frontFbo_);
    glGenRenderbuffers(1, &backColour_);
    glGenRenderbuffers(1, &backDepth_);
    glGenRenderbuffers(1, &frontColour_);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glHint(GL_FOG_HINT, GL_NICEST);
    return true;
}

GlDevice::~GlDevice()
{
    pending_.clear();
    DropPendingTexture();
    if (context_) {
        MakeCurrent();
        Texture::TakeGlDeletes(contextId_);
        while (!stored_.empty()) {
            DeleteStored(stored_.begin());
        }
        glDeleteFramebuffers(1, &backFbo_);
        glDeleteFramebuffers(1, &frontFbo_);
        glDeleteRenderbuffers(1, &backColour_);
        glDeleteRenderbuffers(1, &backDepth_);
        glDeleteRenderbuffers(1, &frontColour_);
        SDL_GL_DeleteContext(context_);
    }
}

void GlDevice::MakeCurrent()
{
    if (SDL_GL_GetCurrentContext() != context_) {
        SDL_GL_MakeCurrent(sdl_, context_);
    }
}

// Full screen is the desktop's own full-screen state at the desktop's resolution: no
// display-mode change, the window manager or compositor knows the window is full screen and
// gives back the window's place and frame after it. Where the desktop has no such state (an X
// server without a window manager, so no frame either), the window is made borderless over the
// whole desktop instead.
void GlDevice::PrepareWindow(const D3DPRESENT_PARAMETERS& parameters)
{
    if (!parameters.Windowed && fullScreen_ == FullScreen::None) {
        SDL_GetWindowPosition(sdl_, &windowed_.x, &windowed_.y);
        SDL_GetWindowSize(sdl_, &windowed_.w, &windowed_.h);
        if (Win32EnterDesktopFullScreen(window_)) {
            fullScreen_ = FullScreen::Desktop;
            return;
        }
        SDL_Rect desktop{0, 0, 640, 480};
        SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(sdl_), 0), &desktop);
        SDL_SetWindowBordered(sdl_, SDL_FALSE);
        SDL_SetWindowPosition(sdl_, desktop.x, desktop.y);
        SDL_SetWindowSize(sdl_, desktop.w, desktop.h);
        SDL_RaiseWindow(sdl_);
        fullScreen_ = FullScreen::Covered;
    } else if (parameters.Windowed && fullScreen_ != FullScreen::None) {
        if (fullScreen_ == FullScreen::Desktop) {
            Win32LeaveDesktopFullScreen(window_);
        }
        // A compositor may leave the window at the size it had full screen.
        int w = 0, h = 0;
        SDL_GetWindowSize(sdl_, &w, &h);
        if (w != windowed_.w || h != windowed_.h) {
            SDL_SetWindowSize(sdl_, windowed_.w, windowed_.h);
        }
        if (fullScreen_ == FullScreen::Covered) {
            SDL_SetWindowPosition(sdl_, windowed_.x, windowed_.y);
        }
        fullScreen_ = FullScreen::None;
    }
}

bool GlDevice::ApplyPresentation(const D3DPRESENT_PARAMETERS& parameters)
{
    // Nothing drawn before a reset is shown after it.
    pending_.clear();
    pendingIndices_.clear();
    DropPendingTexture();
    MakeCurrent();
    width_ = parameters.BackBufferWidth;
    height_ = parameters.BackBufferHeight;
    bool deep = DepthBits(parameters) == 24;
    glBindRenderbuffer(GL_RENDERBUFFER, backColour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, backDepth_);
    glRenderbufferStorage(GL_RENDERBUFFER, deep ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, frontColour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    // Both buffers take the depth buffer: Present trades their places.
    glBindFramebuffer(GL_FRAMEBUFFER, frontFbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, frontColour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, backDepth_);
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, backFbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, backColour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, backDepth_);
    ok = ok && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    int windowWidth = 0, windowHeight = 0;
    SDL_GL_GetDrawableSize(sdl_, &windowWidth, &windowHeight);
    direct_ = DrawsIntoWindow(parameters, windowWidth, windowHeight);
    if (direct_) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }
    backIsFront_ = false;
    return ok;
}

int GlDevice::DepthBits(const D3DPRESENT_PARAMETERS& parameters)
{
    if (!parameters.EnableAutoDepthStencil) {
        return 0;
    }
    return parameters.AutoDepthStencilFormat == D3DFMT_D24S8 || parameters.AutoDepthStencilFormat == D3DFMT_D24X8 ? 24
                                                                                                                 : 16;
}

// A discarded back buffer the size of the window, with no depth buffer or one as deep as the
// window's, needs no copy of its own: the frame is drawn into the window's back buffer and the
// swap shows it.
bool GlDevice::DrawsIntoWindow(const D3DPRESENT_PARAMETERS& parameters, int windowWidth, int windowHeight) const
{
    int depthBits = DepthBits(parameters);
    return parameters.Windowed && parameters.SwapEffect == D3DSWAPEFFECT_DISCARD &&
           windowWidth == static_cast<int>(width_) && windowHeight == static_cast<int>(height_) &&
           (depthBits == 0 || depthBits == windowDepthBits_);
}

void GlDevice::DoClear(DWORD flags, D3DCOLOR colour, float z)
{
    backIsFront_ = false;
    FlushPending();
    MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
    glEnable(GL_SCISSOR_TEST);
    glScissor(viewport_.X, height_ - viewport_.Y - viewport_.Height, viewport_.Width, viewport_.Height);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float c[4];
        Colour(colour, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
}

void GlDevice::BindTexture(Texture* texture)
{
    if (texture->glName && texture->glContext == contextId_) {
        glBindTexture(GL_TEXTURE_2D, texture->glName);
        return;
    }
    // First use on this context: upload every level of the chain here, on the drawing thread.
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const auto& levels = texture->Levels();
    for (std::size_t i = 0; i < levels.size(); ++i) {
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGBA8, levels[i].width, levels[i].height, 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, levels[i].texels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels.size()) - 1);
    // The sampler defaults: point sampling, no mip filtering, wrapping.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    texture->glName = name;
    texture->glContext = contextId_;
}

GlDevice::RasterState GlDevice::CurrentRasterState() const
{
    const auto& rs = renderStates_;
    RasterState state{};
    state.depthTest = depthBound_ && rs[D3DRS_ZENABLE] != D3DZB_FALSE;
    state.depthFunc = rs[D3DRS_ZFUNC];
    state.depthWrite = depthBound_ && rs[D3DRS_ZWRITEENABLE];
    state.blend = rs[D3DRS_ALPHABLENDENABLE] != 0;
    state.sourceBlend = rs[D3DRS_SRCBLEND];
    state.destBlend = rs[D3DRS_DESTBLEND];
    state.cull = rs[D3DRS_CULLMODE];
    state.texture = stageStates_[D3DTSS_COLOROP] != D3DTOP_DISABLE ? texture_ : nullptr;
    for (DWORD i = 0; i < 6; ++i) {
        state.stage[i] = stageStates_[D3DTSS_COLOROP + i];
    }
    return state;
}

void GlDevice::ApplyRasterState(const RasterState& state)
{
    if (state.depthTest) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(Comparison(state.depthFunc));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(state.depthWrite ? GL_TRUE : GL_FALSE);
    if (state.blend) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(state.sourceBlend), BlendFactor(state.destBlend));
    } else {
        glDisable(GL_BLEND);
    }
    // Both APIs name the winding as seen on the screen; front faces are the counter-clockwise ones here.
    glFrontFace(GL_CCW);
    if (state.cull == D3DCULL_CCW) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
    } else if (state.cull == D3DCULL_CW) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (state.texture) {
        glEnable(GL_TEXTURE_2D);
        BindTexture(state.texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        SetCombine(GL_COMBINE_RGB, GL_SOURCE0_RGB, GL_SOURCE1_RGB, state.stage[0], state.stage[1], state.stage[2]);
        SetCombine(GL_COMBINE_ALPHA, GL_SOURCE0_ALPHA, GL_SOURCE1_ALPHA, state.stage[3], state.stage[4],
                   state.stage[5]);
    } else {
        // No texture: the stage passes the vertex colour on.
        glDisable(GL_TEXTURE_2D);
    }
}

void GlDevice::ApplyFogAndLight(bool lit)
{
    const auto& rs = renderStates_;
    bool fog = rs[D3DRS_FOGENABLE] && (rs[D3DRS_FOGTABLEMODE] == D3DFOG_LINEAR || rs[D3DRS_FOGVERTEXMODE] == D3DFOG_LINEAR);
    if (fog) {
        float c[4];
        Colour(rs[D3DRS_FOGCOLOR], c);
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, BitsToFloat(rs[D3DRS_FOGSTART]));
        glFogf(GL_FOG_END, BitsToFloat(rs[D3DRS_FOGEND]));
        glFogfv(GL_FOG_COLOR, c);
    } else {
        glDisable(GL_FOG);
    }
    if (lit) {
        float ambient[4];
        Colour(rs[D3DRS_AMBIENT], ambient);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        glEnable(GL_LIGHTING);
        const float black[4] = {0, 0, 0, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &material_.Diffuse.r);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &material_.Ambient.r);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);  // specular highlights are off by default
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &material_.Emissive.r);
    } else {
        glDisable(GL_LIGHTING);
    }
}

GlDevice::Layout GlDevice::LayoutOf(DWORD fvf)
{
    Layout l{};
    l.pretransformed = (fvf & D3DFVF_XYZRHW) != 0;
    l.hasNormal = (fvf & D3DFVF_NORMAL) != 0;
    l.hasDiffuse = (fvf & D3DFVF_DIFFUSE) != 0;
    l.hasTex = (fvf & D3DFVF_TEX1) != 0;
    std::size_t offset = l.pretransformed ? 16 : 12;
    l.normalAt = offset;
    offset += l.hasNormal ? 12 : 0;
    l.diffuseAt = offset;
    offset += l.hasDiffuse ? 4 : 0;
    offset += (fvf & D3DFVF_SPECULAR) ? 4 : 0;
    l.texAt = offset;
    return l;
}

void GlDevice::Convert(const Layout& l, const BYTE* v, ScreenVertex* out)
{
    if (l.pretransformed) {
        float f[4];
        std::memcpy(f, v, 16);
        float w = f[3] != 0.0f ? 1.0f / f[3] : 1.0f;
        out->position[0] = f[0] * w;
        out->position[1] = f[1] * w;
        out->position[2] = f[2] * w;
        out->position[3] = w;
    } else {
        std::memcpy(out->position, v, 12);
        out->position[3] = 1.0f;
    }
    DWORD c = 0xFFFFFFFFu;
    if (l.hasDiffuse) {
        std::memcpy(&c, v + l.diffuseAt, 4);
    }
    out->colour[0] = static_cast<std::uint8_t>(c >> 16);
    out->colour[1] = static_cast<std::uint8_t>(c >> 8);
    out->colour[2] = static_cast<std::uint8_t>(c);
    out->colour[3] = static_cast<std::uint8_t>(c >> 24);
    if (l.hasTex) {
        std::memcpy(out->texture, v + l.texAt, 8);
    } else {
        out->texture[0] = out->texture[1] = 0.0f;
    }
}

void GlDevice::Convert(const Layout& l, const BYTE* v, GlVertex* out)
{
    Convert(l, v, &out->screen);
    if (l.hasNormal) {
        std::memcpy(out->normal, v + l.normalAt, 12);
    } else {
        out->normal[0] = out->normal[1] = out->normal[2] = 0.0f;
    }
}

std::size_t GlDevice::IndexSize(const DrawBatch& batch)
{
    return batch.indexFormat == D3DFMT_INDEX16 ? 2 : 4;
}

UINT GlDevice::IndexAt(const DrawBatch& batch, UINT i)
{
    if (!batch.indices) {
        return i;
    }
    return batch.indexFormat == D3DFMT_INDEX16 ? static_cast<const std::uint16_t*>(batch.indices)[i]
                                               : static_cast<const std::uint32_t*>(batch.indices)[i];
}

void GlDevice::AppendVertices(const DrawBatch& batch, std::vector<GlVertex>* out)
{
    Layout layout = LayoutOf(batch.fvf);
    UINT count = batch.triangles * 3;
    std::size_t first = out->size();
    out->resize(first + count);
    for (UINT i = 0; i < count; ++i) {
        Convert(layout, batch.vertices + static_cast<std::size_t>(IndexAt(batch, i)) * batch.stride,
                &(*out)[first + i]);
    }
}

// A sprite arrives as two triangles sharing an edge (0 1 2, 0 2 3): it is kept as four vertices
// and six indices. Any other draw keeps its vertices in order.
void GlDevice::AppendPending(const DrawBatch& batch)
{
    Layout layout = LayoutOf(batch.fvf);
    const BYTE* v = batch.vertices;
    const std::size_t stride = batch.stride;
    auto base = static_cast<std::uint32_t>(pending_.size());
    bool quad = !batch.indices && batch.triangles == 2 && std::memcmp(v, v + 3 * stride, stride) == 0 &&
                std::memcmp(v + 2 * stride, v + 4 * stride, stride) == 0;
    if (quad) {
        pending_.resize(base + 4);
        for (std::size_t i = 0; i < 3; ++i) {
            Convert(layout, v + i * stride, &pending_[base + i]);
        }
        Convert(layout, v + 5 * stride, &pending_[base + 3]);
        for (std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) {
            pendingIndices_.push_back(base + i);
        }
        return;
    }
    UINT count = batch.triangles * 3;
    pending_.resize(base + count);
    for (UINT i = 0; i < count; ++i) {
        Convert(layout, v + static_cast<std::size_t>(IndexAt(batch, i)) * stride, &pending_[base + i]);
        pendingIndices_.push_back(base + i);
    }
}

void GlDevice::SubmitVertices(const std::vector<GlVertex>& vertices, bool normals)
{
    SetArrays(reinterpret_cast<std::uintptr_t>(vertices.data()), sizeof(GlVertex), normals);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
}

// Vertex arrays from client memory or, with a buffer bound, from offsets into it.
void GlDevice::SetArrays(std::uintptr_t base, std::size_t stride, bool normals)
{
    const auto s = static_cast<GLsizei>(stride);
    auto at = [base](std::size_t offset) { return reinterpret_cast<const void*>(base + offset); };
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(4, GL_FLOAT, s, at(offsetof(ScreenVertex, position)));
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, s, at(offsetof(ScreenVertex, colour)));
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, s, at(offsetof(ScreenVertex, texture)));
    if (normals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, s, at(offsetof(GlVertex, normal)));
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
}

// Consecutive screen-space draws with the same state go to OpenGL as one draw: the triangles
// keep their order, so the picture is the same, at a fraction of the per-draw cost.
void GlDevice::FlushPending()
{
    if (pending_.empty()) {
        return;
    }
    MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
    glViewport(0, 0, width_, height_);
    glDepthRange(0.0, 1.0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Screen pixels with y down and depth taken as given.
    glOrtho(-kPixelOffset, width_ - kPixelOffset, height_ - kPixelOffset, -kPixelOffset, 0.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_FOG);  // screen-space vertices are neither fogged nor lit
    glDisable(GL_LIGHTING);
    ApplyRasterState(pendingState_);
    SetArrays(reinterpret_cast<std::uintptr_t>(pending_.data()), sizeof(ScreenVertex), false);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(pendingIndices_.size()), GL_UNSIGNED_INT,
                   pendingIndices_.data());
    pending_.clear();
    pendingIndices_.clear();
    DropPendingTexture();
}

void GlDevice::DropPendingTexture()
{
    if (pendingState_.texture) {
        pendingState_.texture->Release();
        pendingState_.texture = nullptr;
    }
}

void GlDevice::DoDraw(const DrawBatch& batch)
{
    backIsFront_ = false;
    bool pretransformed = (batch.fvf & D3DFVF_XYZRHW) != 0;
    if (pretransformed) {
        RasterState state = CurrentRasterState();
        if (!pending_.empty() && !(state == pendingState_)) {
            FlushPending();
        }
        if (pending_.empty()) {
            pendingState_ = state;
            if (pendingState_.texture) {
                pendingState_.texture->AddRef();  // kept alive until drawn
            }
        }
        AppendPending(batch);
        return;
    }
    FlushPending();
    MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
    bool hasNormal = (batch.fvf & D3DFVF_NORMAL) != 0;
    bool lit = hasNormal && renderStates_[D3DRS_LIGHTING] && lightEnabled_;
    glViewport(viewport_.X, height_ - viewport_.Y - viewport_.Height, viewport_.Width, viewport_.Height);
    glDepthRange(viewport_.MinZ, viewport_.MaxZ);
    // Direct3D's clip depth runs 0..w, OpenGL's -w..w: z' = 2z - w.
    D3DMATRIX depthFix{};
    depthFix.m[0][0] = depthFix.m[1][1] = depthFix.m[3][3] = 1.0f;
    depthFix.m[2][2] = 2.0f;
    depthFix.m[3][2] = -1.0f;
    D3DMATRIX projection = Multiply(projection_, depthFix);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&projection.m[0][0]);  // row-vector matrices read column-major are the transposes GL wants
    glMatrixMode(GL_MODELVIEW);
    if (lit) {
        glLoadMatrixf(&view_.m[0][0]);
        const float direction[4] = {-light_.Direction.x, -light_.Direction.y, -light_.Direction.z, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, &light_.Diffuse.r);
        glLightfv(GL_LIGHT0, GL_AMBIENT, &light_.Ambient.r);
        const float black[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_SPECULAR, black);
        glEnable(GL_LIGHT0);
    }
    D3DMATRIX modelView = Multiply(world_, view_);
    glLoadMatrixf(&modelView.m[0][0]);
    ApplyRasterState(CurrentRasterState());
    ApplyFogAndLight(lit);
    if (!DrawStored(batch, hasNormal)) {
        immediate_.clear();
        AppendVertices(batch, &immediate_);
        SubmitVertices(immediate_, hasNormal);
    }
}

bool GlDevice::StoredDraw::Matches(const DrawBatch& batch) const
{
    return vertices == batch.vertices && indices == batch.indices && fvf == batch.fvf && stride == batch.stride &&
           vertexCount == batch.vertexCount && triangles == batch.triangles && indexFormat == batch.indexFormat;
}

// The caller's memory as it is now into the draw's buffers; false when an index names a vertex
// outside the range the caller gave.
bool GlDevice::Upload(StoredDraw* draw, const DrawBatch& batch)
{
    UINT indexCount = batch.triangles * 3;
    for (UINT i = 0; i < indexCount; ++i) {
        if (IndexAt(batch, i) >= batch.vertexCount) {
            return false;
        }
    }
    draw->vertexBytes.assign(batch.vertices, batch.vertices + static_cast<std::size_t>(batch.vertexCount) * batch.stride);
    const auto* indexBytes = static_cast<const BYTE*>(batch.indices);
    draw->indexBytes.assign(indexBytes, indexBytes + indexCount * IndexSize(batch));
    Layout layout = LayoutOf(batch.fvf);
    std::vector<GlVertex> converted(batch.vertexCount);
    for (UINT i = 0; i < batch.vertexCount; ++i) {
        Convert(layout, batch.vertices + static_cast<std::size_t>(i) * batch.stride, &converted[i]);
    }
    glBindBuffer(GL_ARRAY_BUFFER, draw->vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(converted.size() * sizeof(GlVertex)), converted.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, draw->indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(draw->indexBytes.size()), draw->indexBytes.data(),
                 GL_STATIC_DRAW);
    return true;
}

// An indexed world-space draw (a mesh subset) is kept in buffers on the device: drawn again from
// the same memory with the same contents, it is neither converted nor handed over again. False:
// draw it from client memory.
bool GlDevice::DrawStored(const DrawBatch& batch, bool normals)
{
    if (!batch.indices || batch.vertexCount == 0) {
        return false;
    }
    auto found = std::find_if(stored_.begin(), stored_.end(), [&](const StoredDraw& d) { return d.Matches(batch); });
    if (found == stored_.end()) {
        if (stored_.size() >= kMaxStoredDraws) {
            return false;
        }
        StoredDraw draw{batch.vertices, batch.indices, batch.fvf, batch.stride, batch.vertexCount, batch.triangles,
                        batch.indexFormat, {}, {}};
        glGenBuffers(1, &draw.vertexBuffer);
        glGenBuffers(1, &draw.indexBuffer);
        stored_.push_back(std::move(draw));
        found = stored_.end() - 1;
        if (!Upload(&*found, batch)) {
            DeleteStored(found);
            return false;
        }
    } else if (std::memcmp(found->vertexBytes.data(), batch.vertices, found->vertexBytes.size()) != 0 ||
               std::memcmp(found->indexBytes.data(), batch.indices, found->indexBytes.size()) != 0) {
        if (!Upload(&*found, batch)) {
            DeleteStored(found);
            return false;
        }
    }
    found->lastPresent = presents_;
    glBindBuffer(GL_ARRAY_BUFFER, found->vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, found->indexBuffer);
    SetArrays(0, sizeof(GlVertex), normals);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(batch.triangles * 3),
                   IndexSize(batch) == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return true;
}

std::vector<GlDevice::StoredDraw>::iterator GlDevice::DeleteStored(std::vector<StoredDraw>::iterator draw)
{
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &draw->vertexBuffer);
    glDeleteBuffers(1, &draw->indexBuffer);
    return stored_.erase(draw);
}

// Buffers of draws not made for a while are let go: their memory may belong to something else by now.
void GlDevice::DropUnusedStored()
{
    ++presents_;
    for (auto d = stored_.begin(); d != stored_.end();) {
        d = presents_ - d->lastPresent > kStoredDrawLifetime ? DeleteStored(d) : d + 1;
    }
}

void GlDevice::DeletePendingTextures()
{
    auto names = Texture::TakeGlDeletes(contextId_);
    if (!names.empty()) {
        glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    }
}

void GlDevice::DoPresent()
{
    FlushPending();
    MakeCurrent();
    DeletePendingTextures();
    DropUnusedStored();
    int windowWidth = 0, windowHeight = 0;
    if (direct_) {
        SDL_GL_SwapWindow(sdl_);
        backIsFront_ = true;
        SDL_GL_GetDrawableSize(sdl_, &windowWidth, &windowHeight);
        if (!DrawsIntoWindow(parameters_, windowWidth, windowHeight)) {
            // The window changed size: from the next frame on the picture is drawn off-screen and
            // scaled into it, and the front buffer is the copy.
            glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
            glReadBuffer(GL_BACK);
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frontFbo_);
            glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
            ++pictureCopies_;
            direct_ = false;
            glBindFramebuffer(GL_FRAMEBUFFER, backFbo_);
        }
        return;
    }
    if (parameters_.SwapEffect != D3DSWAPEFFECT_DISCARD) {
        // The back buffer keeps its picture: the front buffer gets a copy.
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backFbo_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frontFbo_);
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        ++pictureCopies_;
    } else {
        // The finished picture becomes the front buffer as it stands (kept for GetFrontBufferData
        // and the scaled copy below), and the next frame is drawn into the old front buffer.
        std::swap(backFbo_, frontFbo_);
        backIsFront_ = true;
    }
    // The picture scaled into the window with its aspect kept, the rest black.
    SDL_GL_GetDrawableSize(sdl_, &windowWidth, &windowHeight);
    double scale = std::min(static_cast<double>(windowWidth) / width_, static_cast<double>(windowHeight) / height_);
    int w = static_cast<int>(width_ * scale + 0.5), h = static_cast<int>(height_ * scale + 0.5);
    int x = (windowWidth - w) / 2, y = (windowHeight - h) / 2;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frontFbo_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    if (x > 0 || y > 0 || w < windowWidth || h < windowHeight) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);  // the bars; a picture that fills the window covers it all
    }
    glBlitFramebuffer(0, 0, width_, height_, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT,
                      w == static_cast<int>(width_) && h == static_cast<int>(height_) ? GL_NEAREST : GL_LINEAR);
    ++pictureCopies_;
    SDL_GL_SwapWindow(sdl_);
    // The window back to the back buffer's size: the copy is dropped from the next frame on. The
    // window's back buffer holds the picture just shown.
    direct_ = DrawsIntoWindow(parameters_, windowWidth, windowHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
}

std::vector<std::uint32_t> GlDevice::ReadBuffer(unsigned framebuffer, unsigned windowBuffer)
{
    FlushPending();
    MakeCurrent();
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(width_) * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    if (framebuffer == 0) {
        glReadBuffer(windowBuffer);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, picture.data());
    glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
    return picture;
}

void GlDevice::DoReadBack(Surface* target)
{
    std::vector<std::uint32_t> picture =
        direct_ ? ReadBuffer(0, GL_BACK) : ReadBuffer(backIsFront_ ? frontFbo_ : backFbo_);
    auto& out = target->Texels();
    for (UINT y = 0; y < height_; ++y) {  // OpenGL's rows run bottom up
        for (UINT x = 0; x < width_; ++x) {
            out[static_cast<std::size_t>(y) * width_ + x] =
                picture[static_cast<std::size_t>(height_ - 1 - y) * width_ + x] | 0xFF000000u;
        }
    }
}

void GlDevice::DoReadFront(Surface* target)
{
    // Drawn into the window, the picture shown stays in the window's back buffer until the next
    // frame draws; after that only the window's own front buffer has it.
    std::vector<std::uint32_t> picture =
        !direct_ ? ReadBuffer(frontFbo_) : ReadBuffer(0, backIsFront_ ? GL_BACK : GL_FRONT);
    // The surface is the whole display: the picture lies where the window shows it, the rest is black.
    const D3DSURFACE_DESC& desc = target->Desc();
    auto& out = target->Texels();
    std::fill(out.begin(), out.end(), 0xFF000000u);
    int left = 0, top = 0, w = static_cast<int>(width_), h = static_cast<int>(height_);
    if (parameters_.Windowed) {
        SDL_GetWindowPosition(sdl_, &left, &top);
    } else {
        double scale = std::min(static_cast<double>(desc.Width) / width_, static_cast<double>(desc.Height) / height_);
        w = static_cast<int>(width_ * scale + 0.5);
        h = static_cast<int>(height_ * scale + 0.5);
        left = (static_cast<int>(desc.Width) - w) / 2;
        top = (static_cast<int>(desc.Height) - h) / 2;
    }
    for (int y = 0; y < h; ++y) {
        int sy = static_cast<int>(static_cast<long long>(y) * height_ / h);
        int ty = top + y;
        if (ty < 0 || ty >= static_cast<int>(desc.Height)) {
            continue;
        }
        for (int x = 0; x < w; ++x) {
            int tx = left + x;
            if (tx < 0 || tx >= static_cast<int>(desc.Width)) {
                continue;
            }
            int sx = static_cast<int>(static_cast<long long>(x) * width_ / w);
            out[static_cast<std::size_t>(ty) * desc.Width + tx] =
                picture[static_cast<std::size_t>(height_ - 1 - sy) * width_ + sx] | 0xFF000000u;
        }
    }
}
