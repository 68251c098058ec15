#include "platform/d3d9/Sprite.h"

Sprite::Sprite(IDirect3DDevice9* device) : device_(device)
{
    device_->AddRef();
}

Sprite::~Sprite()
{
    device_->Release();
}

HRESULT Sprite::Begin(DWORD flags)
{
    if (inBatch_ || lost_) {
        return D3DERR_INVALIDCALL;
    }
    for (int i = 0; i < 5; ++i) {
        device_->GetRenderState(kSaved[i], &saved_[i]);
    }
    if (flags & D3DXSPRITE_ALPHABLEND) {
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    inBatch_ = true;
    return D3D_OK;
}

HRESULT Sprite::End()
{
    if (!inBatch_) {
        return D3DERR_INVALIDCALL;
    }
    for (int i = 0; i < 5; ++i) {
        device_->SetRenderState(kSaved[i], saved_[i]);
    }
    inBatch_ = false;
    return D3D_OK;
}

HRESULT Sprite::OnLostDevice()
{
    lost_ = true;
    inBatch_ = false;
    return D3D_OK;
}

HRESULT Sprite::OnResetDevice()
{
    lost_ = false;
    return D3D_OK;
}

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite)
{
    if (!device || !sprite) {
        return D3DERR_INVALIDCALL;
    }
    *sprite = new Sprite(device);
    return D3D_OK;
}
