// Texture loading: decoded on the calling thread into a managed texture whose size is the image's
// rounded up to powers of two, the image stretched over it, with a full mip chain.
#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/Texture.h"
#include "platform/win32/Win32Kernel.h"

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT width, UINT height, UINT mipLevels,
                                     DWORD, D3DFORMAT, D3DPOOL pool, DWORD, DWORD, D3DCOLOR colourKey,
                                     D3DXIMAGE_INFO*, PALETTEENTRY*, IDirect3DTexture9** texture)
{
    if (!device || !file || !texture || pool != D3DPOOL_MANAGED) {
        return D3DERR_INVALIDCALL;
    }
    Image image;
    if (!DecodeImageFile(Win32HostPath(file), &image)) {
        return D3DXERR_INVALIDDATA;
    }
    ApplyColourKey(&image, colourKey);
    UINT w = (width == 0 || width == D3DX_DEFAULT) ? NextPowerOfTwo(image.width) : width;
    UINT h = (height == 0 || height == D3DX_DEFAULT) ? NextPowerOfTwo(image.height) : height;
    std::vector<Image> levels;
    levels.push_back(StretchImage(image, w, h));
    UINT wanted = (mipLevels == 0 || mipLevels == D3DX_DEFAULT) ? 0xFFFFFFFFu : mipLevels;
    while (levels.size() < wanted && (levels.back().width > 1 || levels.back().height > 1)) {
        levels.push_back(HalveImage(levels.back()));
    }
    *texture = new Texture(std::move(levels), D3DFMT_A8R8G8B8);
    return D3D_OK;
}

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture)
{
    return D3DXCreateTextureFromFileExA(device, file, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, texture);
}
