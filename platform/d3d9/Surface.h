#pragma once
// A depth surface (default pool, counted by its device so Reset can refuse while one lives) or a
// plain surface of A8R8G8B8 texels in system memory.
#include <atomic>
#include <memory>
#include <vector>

#include "platform/d3d9/D3D9.h"
#include "platform/d3d9/RefCounted.h"

class Surface final : public RefCounted<IDirect3DSurface9> {
public:
    Surface(const D3DSURFACE_DESC& desc, std::shared_ptr<std::atomic<int>> defaultPoolCount);

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    const D3DSURFACE_DESC& Desc() const { return desc_; }
    std::vector<std::uint32_t>& Texels() { return texels_; }

private:
    ~Surface() override;

    D3DSURFACE_DESC desc_;
    std::shared_ptr<std::atomic<int>> defaultPoolCount_;
    std::vector<std::uint32_t> texels_;
};
