// D3DXSaveSurfaceToFileA: a plain surface (or a rectangle of it) written as a 24-bit bottom-up BMP.
#include <cstdio>
#include <vector>

#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/Surface.h"
#include "platform/win32/Win32Kernel.h"

namespace {

void Put16(std::vector<BYTE>& out, unsigned v)
{
    out.push_back(v & 255);
    out.push_back((v >> 8) & 255);
}

void Put32(std::vector<BYTE>& out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

HRESULT D3DXSaveSurfaceToFileA(LPCSTR file, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                               const PALETTEENTRY*, const RECT* sourceRect)
{
    auto* plain = static_cast<Surface*>(surface);
    if (!file || !plain || format != D3DXIFF_BMP || plain->Texels().empty()) {
        return D3DERR_INVALIDCALL;
    }
    const D3DSURFACE_DESC& desc = plain->Desc();
    RECT r = sourceRect ? *sourceRect : RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    if (r.left < 0 || r.top < 0 || r.right > static_cast<LONG>(desc.Width) || r.bottom > static_cast<LONG>(desc.Height) ||
        r.left >= r.right || r.top >= r.bottom) {
        return D3DERR_INVALIDCALL;
    }
    unsigned w = static_cast<unsigned>(r.right - r.left), h = static_cast<unsigned>(r.bottom - r.top);
    unsigned rowBytes = (w * 3 + 3) & ~3u;
    std::vector<BYTE> out;
    out.reserve(54 + static_cast<std::size_t>(rowBytes) * h);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + rowBytes * h);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, w);
    Put32(out, h);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, rowBytes * h);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (unsigned y = h; y-- > 0;) {
        const std::uint32_t* row = plain->Texels().data() + static_cast<std::size_t>(r.top + y) * desc.Width + r.left;
        for (unsigned x = 0; x < w; ++x) {
            out.push_back(row[x] & 255);
            out.push_back((row[x] >> 8) & 255);
            out.push_back((row[x] >> 16) & 255);
        }
        for (unsigned pad = w * 3; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }
    std::FILE* f = std::fopen(Win32HostPath(file).c_str(), "wb");
    if (!f) {
        return D3DERR_INVALIDCALL;
    }
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    ok = std::fclose(f) == 0 && ok;
    return ok ? D3D_OK : D3DERR_INVALIDCALL;
}
