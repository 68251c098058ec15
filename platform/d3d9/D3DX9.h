#pragma once
// The D3DX helpers the game uses: matrices, the sprite batch, fonts, texture and mesh loading, surface saving.
#include "platform/d3d9/D3D9.h"

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;
constexpr DWORD D3DXSPRITE_ALPHABLEND = 0x10;
constexpr DWORD D3DXMESH_MANAGED = 0x220;
constexpr DWORD DT_NOCLIP = 0x100;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr int LF_FACESIZE = 32;

constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);

enum D3DXIMAGE_FILEFORMAT : DWORD { D3DXIFF_BMP = 0 };

struct D3DXVECTOR3 : D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(float x_, float y_, float z_) : D3DVECTOR{x_, y_, z_} {}
};

struct D3DXMATRIX : D3DMATRIX {
    D3DXMATRIX operator*(const D3DXMATRIX& other) const;
};

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);

struct ID3DXBuffer : IUnknown {
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

struct ID3DXSprite : IUnknown {
    virtual HRESULT Begin(DWORD flags) = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};

struct D3DXFONT_DESCA {
    int Height;
    UINT Width;
    UINT Weight;
    UINT MipLevels;
    BOOL Italic;
    BYTE CharSet;
    BYTE OutputPrecision;
    BYTE Quality;
    BYTE PitchAndFamily;
    CHAR FaceName[LF_FACESIZE];
};

struct ID3DXFont : IUnknown {
    // Returns the height of the drawn text in pixels, 0 on failure.
    virtual int DrawTextA(ID3DXSprite* sprite, LPCSTR text, int count, RECT* rect, DWORD format, D3DCOLOR colour) = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};

struct ID3DXMesh : IUnknown {
    virtual HRESULT DrawSubset(DWORD attribute) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
};

struct D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    LPSTR pTextureFilename;
};

// Never filled in by the program; passed as null.
struct D3DXIMAGE_INFO;
struct PALETTEENTRY;
struct D3DXEFFECTINSTANCE;

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);
HRESULT D3DXCreateFontIndirectA(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc, ID3DXFont** font);
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT width, UINT height, UINT mipLevels,
                                     DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                     D3DCOLOR colourKey, D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY* palette,
                                     IDirect3DTexture9** texture);
HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture);
HRESULT D3DXLoadMeshFromXA(LPCSTR file, DWORD options, IDirect3DDevice9* device, ID3DXBuffer** adjacency,
                           ID3DXBuffer** materials, ID3DXBuffer** effectInstances, DWORD* materialCount,
                           ID3DXMesh** mesh);
HRESULT D3DXLoadMeshFromXInMemory(LPCVOID memory, DWORD size, DWORD options, IDirect3DDevice9* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effectInstances,
                                  DWORD* materialCount, ID3DXMesh** mesh);
HRESULT D3DXSaveSurfaceToFileA(LPCSTR file, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                               const PALETTEENTRY* palette, const RECT* sourceRect);
