#pragma once
#include <cstdint>
#include <vector>

#include "engine/MeshEntry.h"
#include "engine/SpriteVertex.h"
#include "engine/TextureSlot.h"
#include "platform/d3d9/D3DX9.h"

// The program's one Direct3D 9 object: device, camera, textures, meshes, sprites, text and the frame.
class GraphicsEngine {
public:
    static constexpr int kTextureSlotCount = 33;

    GraphicsEngine();
    virtual ~GraphicsEngine();

    // Device creation and set-up.
    int Init3D();
    int CreateDeviceQuick();
    int CreateDeviceChecked();
    void FillPresentParameters(const D3DDISPLAYMODE& displayMode);
    void SetClearColor(std::uint32_t colour) { clearColour = colour; }

    // Device loss, reset and the screen-mode switch.
    int OnDeviceLost();
    HRESULT ResetDevice();
    int RestoreObjects();
    bool ChangeScreenMode();

    // Textures and meshes.
    bool LoadTexture(int slot, const char* file, std::uint32_t colourKey);
    void ReleaseTexture(int slot);
    bool LoadMesh(std::uint32_t index, const char* file, const char* folder);
    void DrawMesh(float x, float y, float z, float rotX, float rotY, float rotZ, std::uint32_t index);
    void ReleaseMeshes();

    // Sprites and text.
    void ResetDrawState();
    void SetBlend(int mode, std::uint32_t colour);
    void SetRotation(float angleDegrees, float centreX, float centreY);
    void SetScale(float scaleX, float scaleY);
    void DrawSprite(int x, int y, int slot, int srcX, int srcY, int w, int h);
    void SetVertex(SpriteVertex* vertex, float x, float y, float z, float u, float v, std::uint32_t diffuse);
    void DrawText(int x, int y, const char* text, std::uint32_t colour);
    void CreateFont(int height);

    // The frame.
    void Render();
    void SetupFog(float start, float end, std::uint32_t colour);
    HRESULT CreateDepthBuffer();
    HRESULT SaveScreenshot(const char* path);

    // The paused picture: kept from the back buffer when the pause begins, shown again on every
    // paused pass (a reset or an expose leaves nothing of it on screen), let go of on resuming.
    void HoldPicture();
    void ShowHeldPicture();
    void ReleaseHeldPicture();
    bool IsHoldingPicture() const { return heldPicture != nullptr; }

    IDirect3DDevice9* GetDevice() const { return device; }
    IDirect3D9* GetDirect3D() const { return direct3D; }
    void SetDrawEnabled(bool flag) { drawEnabled = flag ? 1 : 0; }

    // Read-only views for the program's checks.
    const TextureSlot& GetTextureSlot(int slot) const { return textureSlots[slot]; }
    const std::vector<MeshEntry>& GetMeshes() const { return meshes; }
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return presentParameters; }
    const D3DPRESENT_PARAMETERS& GetWindowedPresentParameters() const { return windowedPresentParameters; }
    const D3DPRESENT_PARAMETERS& GetFullScreenPresentParameters() const { return fullScreenPresentParameters; }
    const RECT& GetWindowRect() const { return windowRect; }
    ID3DXFont* GetFont() const { return font; }
    IDirect3DSurface9* GetDepthSurface() const { return depthSurface; }
    int GetFontHeight() const { return fontHeight; }

private:
    void ReleaseMeshEntry(MeshEntry& entry);
    void SetupTextureStages();

    RECT windowRect;
    IDirect3D9* direct3D;
    IDirect3DDevice9* device;
    D3DPRESENT_PARAMETERS presentParameters;
    D3DPRESENT_PARAMETERS windowedPresentParameters;
    D3DPRESENT_PARAMETERS fullScreenPresentParameters;
    ID3DXSprite* sprite;
    TextureSlot textureSlots[kTextureSlotCount];
    IDirect3DSurface9* depthSurface;
    ID3DXFont* font;
    int fontHeight;
    std::vector<MeshEntry> meshes;
    D3DXMATRIX projectionMatrix;
    D3DXMATRIX viewMatrix;
    D3DXMATRIX worldMatrix;
    D3DLIGHT9 light;
    float worldPitch;
    float worldYaw;
    float worldRoll;
    std::uint8_t drawEnabled;
    std::uint32_t clearColour;
    IDirect3DTexture9* heldPicture;  // managed, so it outlives a reset
};

extern GraphicsEngine* g_graphicsEngine;
