#pragma once
// The device on OpenGL's fixed-function pipeline (compatibility profile) in the window's SDL
// context. In a window of the back buffer's size the picture is drawn straight into the window's
// back buffer and Present swaps it. Otherwise (full screen, a window of another size, a back
// buffer that must keep its picture) it is drawn into an off-screen back buffer; Present makes
// that the front buffer (read by GetFrontBufferData) and copies it once into the window, scaled
// with its aspect kept.
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/d3d9/DeviceBase.h"

class GlDevice final : public DeviceBase {
public:
    static GlDevice* Create(IDirect3D9* owner, HWND window, D3DPRESENT_PARAMETERS* parameters);

protected:
    void PrepareWindow(const D3DPRESENT_PARAMETERS& parameters) override;
    bool ApplyPresentation(const D3DPRESENT_PARAMETERS& parameters) override;
    void DoClear(DWORD flags, D3DCOLOR colour, float z) override;
    void DoDraw(const DrawBatch& batch) override;
    void DoPresent() override;
    void DoReadFront(Surface* target) override;
    void DoReadBack(Surface* target) override;

private:
    GlDevice(IDirect3D9* owner, HWND window) : DeviceBase(owner, window) {}
    ~GlDevice() override;

    bool Open();
    void MakeCurrent();
    // What a draw's rasterisation depends on besides its vertices.
    struct RasterState {
        bool depthTest, depthWrite, blend;
        DWORD depthFunc, sourceBlend, destBlend, cull;
        DWORD stage[6];      // colour op and arguments, alpha op and arguments
        Texture* texture;    // null: no texturing
        bool operator==(const RasterState&) const = default;
    };
    // A vertex as OpenGL takes it; the constructors leave it unset, as it is always written whole.
    struct ScreenVertex {
        ScreenVertex() {}
        float position[4];
        std::uint8_t colour[4];
        float texture[2];
    };
    struct GlVertex {
        GlVertex() {}
        ScreenVertex screen;
        float normal[3];
    };
    // Where a vertex format keeps its parts.
    struct Layout {
        bool pretransformed, hasNormal, hasDiffuse, hasTex;
        std::size_t normalAt, diffuseAt, texAt;
    };
    // An indexed draw kept in buffers, with the caller's bytes it was made from.
    struct StoredDraw {
        const BYTE* vertices;
        const void* indices;
        DWORD fvf;
        UINT stride, vertexCount, triangles;
        D3DFORMAT indexFormat;
        std::vector<BYTE> vertexBytes, indexBytes;
        unsigned vertexBuffer = 0, indexBuffer = 0;
        unsigned lastPresent = 0;
        bool Matches(const DrawBatch& batch) const;
    };
    static constexpr std::size_t kMaxStoredDraws = 32;
    static constexpr unsigned kStoredDrawLifetime = 60;  // presents

    void BindTexture(Texture* texture);
    RasterState CurrentRasterState() const;
    void ApplyRasterState(const RasterState& state);
    void ApplyFogAndLight(bool lit);
    static Layout LayoutOf(DWORD fvf);
    static void Convert(const Layout& layout, const BYTE* vertex, ScreenVertex* out);
    static void Convert(const Layout& layout, const BYTE* vertex, GlVertex* out);
    static std::size_t IndexSize(const DrawBatch& batch);
    static UINT IndexAt(const DrawBatch& batch, UINT i);
    static void AppendVertices(const DrawBatch& batch, std::vector<GlVertex>* out);
    void AppendPending(const DrawBatch& batch);
    static void SetArrays(std::uintptr_t base, std::size_t stride, bool normals);
    static void SubmitVertices(const std::vector<GlVertex>& vertices, bool normals);
    bool DrawStored(const DrawBatch& batch, bool normals);
    bool Upload(StoredDraw* draw, const DrawBatch& batch);
    std::vector<StoredDraw>::iterator DeleteStored(std::vector<StoredDraw>::iterator draw);
    void DropUnusedStored();
    void FlushPending();
    // A buffer's pixels as OpenGL holds them, bottom row first.
    // windowBuffer: which of the window's buffers, when framebuffer is the window's (0).
    std::vector<std::uint32_t> ReadBuffer(unsigned framebuffer, unsigned windowBuffer = 0);
    static int DepthBits(const D3DPRESENT_PARAMETERS& parameters);  // 0: no depth buffer
    bool DrawsIntoWindow(const D3DPRESENT_PARAMETERS& parameters, int windowWidth, int windowHeight) const;
    unsigned DrawTarget() const { return direct_ ? 0 : backFbo_; }
    void DropPendingTexture();
    void DeletePendingTextures();

    std::vector<ScreenVertex> pending_;        // screen-space triangles not yet handed to OpenGL
    std::vector<std::uint32_t> pendingIndices_;
    RasterState pendingState_{};       // their state; holds a reference to the texture
    std::vector<GlVertex> immediate_;  // reused by every other draw
    std::vector<StoredDraw> stored_;
    unsigned presents_ = 0;
    SDL_Window* sdl_ = nullptr;
    SDL_GLContext context_ = nullptr;
    unsigned contextId_ = 0;
    unsigned backFbo_ = 0, backColour_ = 0, backDepth_ = 0;
    unsigned frontFbo_ = 0, frontColour_ = 0;
    // Until the next clear or draw after a swapping present, the back buffer's picture is the one
    // just presented, which now lives in the front buffer (drawing into the window: in the
    // window's back buffer still).
    bool backIsFront_ = false;
    bool direct_ = false;  // drawing into the window's own back buffer
    int windowDepthBits_ = 0;
    UINT width_ = 0, height_ = 0;
    // Desktop: in the desktop's full-screen state; Covered: the window itself covers the desktop.
    enum class FullScreen { None, Desktop, Covered } fullScreen_ = FullScreen::None;
    SDL_Rect windowed_{};  // the window's place before it went full screen
};
