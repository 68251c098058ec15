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
    bool ApplyPresentation(const D3DPRESENT_PARAMETERS& parameters) override;
    void DoClear(DWORD flags, D3DCOLOR colour, float z) override;
    void DoDraw(const DrawBatch& batch) override;
    void DoPresent() override;
    void DoReadFront(Surface* target) override;

private:
    GlDevice(IDirect3D9* owner, HWND window) : DeviceBase(owner, window) {}
    ~GlDevice() override;

    bool Open();
    void MakeCurrent();
    void BindTexture(Texture* texture);
    void ApplyStates(bool pretransformed, bool lit);
    void DeletePendingTextures();

    struct GlVertex {
        float position[4];
        std::uint8_t colour[4];
        float texture[2];
        float normal[3];
    };

    std::vector<GlVertex> vertices_;  // reused by every draw
    SDL_Window* sdl_ = nullptr;
    SDL_GLContext context_ = nullptr;
    unsigned contextId_ = 0;
    unsigned backFbo_ = 0, backColour_ = 0, backDepth_ = 0;
    unsigned frontFbo_ = 0, frontColour_ = 0;
    UINT width_ = 0, height_ = 0;
};
