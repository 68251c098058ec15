// The drawn frame, fog, the depth buffer and the screenshot.
#include <cstring>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SceneControl.h"

void GraphicsEngine::Render()
{
    device->SetTransform(D3DTS_PROJECTION, &projectionMatrix);
    device->SetTransform(D3DTS_VIEW, &viewMatrix);
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    D3DXMatrixRotationYawPitchRoll(&worldMatrix, worldYaw, worldPitch, worldRoll);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColour, 1.0f, 0);
    if (SUCCEEDED(device->BeginScene())) {
        device->SetTransform(D3DTS_WORLD, &worldMatrix);
        ResetDrawState();
        if (g_sceneControl) {
            g_sceneControl->Run();
        }
        device->EndScene();
        // The frame in which the game paused is the picture shown until it resumes.
        if (g_sceneControl && g_sceneControl->IsPaused()) {
            HoldPicture();
        }
    }
    if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) {
        g_deviceLost = 1;
    }
}

void GraphicsEngine::SetupFog(float start, float end, std::uint32_t colour)
{
    DWORD startBits, endBits;
    std::memcpy(&startBits, &start, sizeof startBits);
    std::memcpy(&endBits, &end, sizeof endBits);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGCOLOR, colour);
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
    device->SetRenderState(D3DRS_FOGSTART, startBits);
    device->SetRenderState(D3DRS_FOGEND, endBits);
}

HRESULT GraphicsEngine::CreateDepthBuffer()
{
    HRESULT result =
        device->CreateDepthStencilSurface(640, 480, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, FALSE, &depthSurface, nullptr);
    if (FAILED(result)) {
        return result;
    }
    device->SetDepthStencilSurface(depthSurface);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    return result;
}

HRESULT GraphicsEngine::SaveScreenshot(const char* path)
{
    D3DDISPLAYMODE mode{};
    HRESULT result = direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    if (FAILED(result)) {
        return result;
    }
    IDirect3DSurface9* surface = nullptr;
    result = device->CreateOffscreenPlainSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                                 nullptr);
    if (FAILED(result)) {
        return result;
    }
    result = device->GetFrontBufferData(0, surface);
    if (FAILED(result)) {
        surface->Release();
        return result;
    }
    RECT client{};
    if (presentParameters.Windowed) {
        POINT topLeft{0, 0};
        POINT bottomRight{static_cast<LONG>(presentParameters.BackBufferWidth),
                          static_cast<LONG>(presentParameters.BackBufferHeight)};
        ClientToScreen(g_mainWindow, &topLeft);
        ClientToScreen(g_mainWindow, &bottomRight);
        client = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
    result = D3DXSaveSurfaceToFileA(path, D3DXIFF_BMP, surface, nullptr, g_screenMode == 0 ? &client : nullptr);
    surface->Release();
    return result;
}
