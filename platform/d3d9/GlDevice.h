#pragma once
// The device on OpenGL's fixed-function pipeline (compatibility profile) in the window's SDL
// context. The picture is drawn into an off-screen back buffer of the back-buffer size; Present
// copies it to the front buffer and shows that scaled into the window with its aspect kept.
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
    struct GlVertex {
        float position[4];
        std::uint8_t colour[4];
        float texture[2];
        float normal[3];
    };

    void BindTexture(Texture* texture);
    RasterState CurrentRasterState() const;
    void ApplyRasterState(const RasterState& state);
    void ApplyFogAndLight(bool lit);
    static void AppendVertices(const DrawBatch& batch, std::vector<GlVertex>* out);
    static void SubmitVertices(const std::vector<GlVertex>& vertices, bool normals);
    void FlushPending();
    // A buffer's pixels as OpenGL holds them, bottom row first.
    std::vector<std::uint32_t> ReadBuffer(unsigned framebuffer);
    void DropPendingTexture();
    void DeletePendingTextures();

    std::vector<GlVertex> pending_;    // screen-space triangles not yet handed to OpenGL
    RasterState pendingState_{};       // their state; holds a reference to the texture
    std::vector<GlVertex> immediate_;  // reused by every other draw
    SDL_Window* sdl_ = nullptr;
    SDL_GLContext context_ = nullptr;
    unsigned contextId_ = 0;
    unsigned backFbo_ = 0, backColour_ = 0, backDepth_ = 0;
    unsigned frontFbo_ = 0, frontColour_ = 0;
    UINT width_ = 0, height_ = 0;
    bool coversDesktop_ = false;
    SDL_Rect windowed_{};  // the window's place before it covered the desktop
};
