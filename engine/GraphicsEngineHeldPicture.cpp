// The picture kept on screen while the game is paused.
#include <algorithm>
#include <cstring>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"

namespace {

constexpr UINT kPictureWidth = 640;
constexpr UINT kPictureHeight = 480;

}  // namespace

void GraphicsEngine::HoldPicture()
{
    if (heldPicture || !device) {
        return;
    }
    IDirect3DSurface9* backBuffer = nullptr;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        return;
    }
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    if (SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                      &copy, nullptr)) &&
        SUCCEEDED(device->GetRenderTargetData(backBuffer, copy)) &&
        SUCCEEDED(device->CreateTexture(kPictureWidth, kPictureHeight, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED,
                                        &heldPicture, nullptr))) {
        // The game draws its 640x480 picture from the back buffer's top-left corner.
        D3DLOCKED_RECT from{}, to{};
        if (SUCCEEDED(copy->LockRect(&from, nullptr, D3DLOCK_READONLY))) {
            if (SUCCEEDED(heldPicture->LockRect(0, &to, nullptr, 0))) {
                UINT rows = std::min(desc.Height, kPictureHeight);
                std::size_t bytes = std::min(desc.Width, kPictureWidth) * 4u;
                for (UINT y = 0; y < rows; ++y) {
                    std::memcpy(static_cast<BYTE*>(to.pBits) + static_cast<std::size_t>(y) * to.Pitch,
                                static_cast<const BYTE*>(from.pBits) + static_cast<std::size_t>(y) * from.Pitch, bytes);
                }
                heldPicture->UnlockRect(0);
            }
            copy->UnlockRect();
        }
    }
    if (copy) {
        copy->Release();
    }
    backBuffer->Release();
}

void GraphicsEngine::ShowHeldPicture()
{
    if (!device) {
        return;
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    if (heldPicture && SUCCEEDED(device->BeginScene())) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetTexture(0, heldPicture);
        device->SetVertexShader(nullptr);
        device->SetFVF(kSpriteVertexFormat);
        const float w = static_cast<float>(kPictureWidth), h = static_cast<float>(kPictureHeight);
        SpriteVertex vertices[6];
        SetVertex(&vertices[0], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0xFFFFFFFFu);
        SetVertex(&vertices[1], w, 0.0f, 0.0f, 1.0f, 0.0f, 0xFFFFFFFFu);
        SetVertex(&vertices[2], w, h, 0.0f, 1.0f, 1.0f, 0xFFFFFFFFu);
        vertices[3] = vertices[0];
        vertices[4] = vertices[2];
        SetVertex(&vertices[5], 0.0f, h, 0.0f, 0.0f, 1.0f, 0xFFFFFFFFu);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, vertices, sizeof(SpriteVertex));
        device->SetTexture(0, nullptr);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        device->EndScene();
    }
    if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) {
        g_deviceLost = 1;
    }
}

void GraphicsEngine::ReleaseHeldPicture()
{
    if (heldPicture) {
        heldPicture->Release();
        heldPicture = nullptr;
    }
}
