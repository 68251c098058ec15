#include "engine/GraphicsEngine.h"

#include "engine/Application.h"

GraphicsEngine* g_graphicsEngine = nullptr;

GraphicsEngine::GraphicsEngine()
    : windowRect{0, 0, 640, 480},
      direct3D(nullptr),
      device(nullptr),
      presentParameters{},
      windowedPresentParameters{},
      fullScreenPresentParameters{},
      sprite(nullptr),
      depthSurface(nullptr),
      font(nullptr),
      fontHeight(16),
      projectionMatrix{},
      viewMatrix{},
      worldMatrix{},
      light{},
      worldPitch(0.0f),
      worldYaw(0.0f),
      worldRoll(0.0f),
      drawEnabled(0),
      clearColour(0),
      heldPicture(nullptr)
{
}

GraphicsEngine::~GraphicsEngine()
{
    ReleaseMeshes();
    ReleaseHeldPicture();
    if (font) {
        font->Release();
    }
    if (sprite) {
        sprite->Release();
    }
    if (depthSurface) {
        depthSurface->Release();
    }
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        ReleaseTexture(slot);
    }
    if (device) {
        device->Release();
    }
    if (direct3D) {
        direct3D->Release();
    }
}

int GraphicsEngine::Init3D()
{
    direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3D) {
        return -1;
    }
    if (g_deviceCheckMode == 0) {
        if (CreateDeviceQuick() != 0) {
            int code = CreateDeviceChecked();
            if (code != 0) {
                return code;
            }
        }
    } else {
        int code = CreateDeviceChecked();
        if (code != 0) {
            return code;
        }
    }

    SetupTextureStages();

    if (FAILED(CreateDepthBuffer())) {
        return -4;
    }

    D3DXMatrixPerspectiveFovLH(&projectionMatrix, 0.78539819f, 1.0f, 0.1f, 10.0f);
    D3DXVECTOR3 eye(0.0f, 2.0f, -6.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&viewMatrix, &eye, &at, &up);

    light = D3DLIGHT9{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Direction = D3DVECTOR{1.0f, -1.5f, 2.0f};
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    light.Ambient = D3DCOLORVALUE{0.2f, 0.2f, 0.2f, 0.0f};

    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);

    if (g_fogEnabled) {
        SetupFog(2.0f, 9.0f, 0x80E0FFFFu);
    }

    D3DVIEWPORT9 viewport{0, 0, presentParameters.BackBufferWidth, presentParameters.BackBufferHeight, 0.0f, 1.0f};
    if (FAILED(device->SetViewport(&viewport))) {
        return -5;
    }

    if (FAILED(D3DXCreateSprite(device, &sprite))) {
        return -6;
    }

    // A missing font leaves the game without text; DrawText checks for it.
    CreateFont(16);
    return 0;
}
