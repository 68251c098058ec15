#pragma once
// ID3DXSprite: brackets text drawing, setting the alpha-blend states on Begin and restoring them on End.
#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/RefCounted.h"

class Sprite final : public RefCounted<ID3DXSprite> {
public:
    explicit Sprite(IDirect3DDevice9* device);

    HRESULT Begin(DWORD flags) override;
    HRESULT End() override;
    HRESULT OnLostDevice() override;
    HRESULT OnResetDevice() override;

    bool InBatch() const { return inBatch_; }
    IDirect3DDevice9* Device() const { return device_; }

private:
    ~Sprite() override;

    static constexpr D3DRENDERSTATETYPE kSaved[] = {D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND,
                                                    D3DRS_ZENABLE, D3DRS_CULLMODE};
    IDirect3DDevice9* device_;
    bool inBatch_ = false;
    bool lost_ = false;
    DWORD saved_[5] = {};
};
