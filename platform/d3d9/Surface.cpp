#include "platform/d3d9/Surface.h"

Surface::Surface(const D3DSURFACE_DESC& desc, std::shared_ptr<std::atomic<int>> defaultPoolCount)
    : desc_(desc), defaultPoolCount_(std::move(defaultPoolCount))
{
    if (desc_.Pool == D3DPOOL_DEFAULT && defaultPoolCount_) {
        ++*defaultPoolCount_;
    }
    if (desc_.Usage != D3DUSAGE_DEPTHSTENCIL) {
        texels_.assign(static_cast<std::size_t>(desc_.Width) * desc_.Height, 0);
    }
}

Surface::~Surface()
{
    if (desc_.Pool == D3DPOOL_DEFAULT && defaultPoolCount_) {
        --*defaultPoolCount_;
    }
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc)
{
    if (!desc) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD)
{
    if (!locked || texels_.empty()) {
        return D3DERR_INVALIDCALL;
    }
    std::size_t offset = rect ? static_cast<std::size_t>(rect->top) * desc_.Width + rect->left : 0;
    locked->Pitch = static_cast<int>(desc_.Width * 4);
    locked->pBits = texels_.data() + offset;
    return D3D_OK;
}

HRESULT Surface::UnlockRect()
{
    return D3D_OK;
}
