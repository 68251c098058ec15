#pragma once
// Types, structures and constants of the Direct3D 9 interface as the game uses it.
#include "platform/win32/Win32Types.h"

using D3DCOLOR = DWORD;

enum D3DFORMAT : DWORD {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_R8G8B8 = 20,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_X1R5G5B5 = 24,
    D3DFMT_A1R5G5B5 = 25,
    D3DFMT_D32 = 71,
    D3DFMT_D24S8 = 75,
    D3DFMT_D24X8 = 77,
    D3DFMT_D16 = 80,
    D3DFMT_INDEX16 = 101,
    D3DFMT_INDEX32 = 102,
    D3DFMT_DXT1 = 0x31545844,  // "DXT1"
    D3DFMT_DXT3 = 0x33545844,  // "DXT3"
    D3DFMT_DXT5 = 0x35545844,  // "DXT5"
};

enum D3DDEVTYPE : DWORD { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2 };

enum D3DMULTISAMPLE_TYPE : DWORD {
    D3DMULTISAMPLE_NONE = 0,
    D3DMULTISAMPLE_2_SAMPLES = 2,
    D3DMULTISAMPLE_3_SAMPLES = 3,
    D3DMULTISAMPLE_4_SAMPLES = 4,
};

enum D3DSWAPEFFECT : DWORD { D3DSWAPEFFECT_DISCARD = 1 };
enum D3DPOOL : DWORD { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2 };
enum D3DRESOURCETYPE : DWORD { D3DRTYPE_SURFACE = 1, D3DRTYPE_TEXTURE = 3 };
enum D3DBACKBUFFER_TYPE : DWORD { D3DBACKBUFFER_TYPE_MONO = 0 };
enum D3DPRIMITIVETYPE : DWORD { D3DPT_TRIANGLELIST = 4 };
enum D3DLIGHTTYPE : DWORD { D3DLIGHT_DIRECTIONAL = 3 };

enum D3DTRANSFORMSTATETYPE : DWORD { D3DTS_VIEW = 2, D3DTS_PROJECTION = 3, D3DTS_WORLD = 256 };

enum D3DRENDERSTATETYPE : DWORD {
    D3DRS_ZENABLE = 7,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ZFUNC = 23,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_FOGENABLE = 28,
    D3DRS_FOGCOLOR = 34,
    D3DRS_FOGTABLEMODE = 35,
    D3DRS_FOGSTART = 36,
    D3DRS_FOGEND = 37,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_FOGVERTEXMODE = 140,
    D3DRS_MULTISAMPLEANTIALIAS = 161,
};
constexpr DWORD D3D9RenderStateCount = 256;

enum D3DTEXTURESTAGESTATETYPE : DWORD {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
};
constexpr DWORD D3D9StageStateCount = 7;

// Texture operations and arguments.
constexpr DWORD D3DTOP_DISABLE = 1;
constexpr DWORD D3DTOP_SELECTARG1 = 2;
constexpr DWORD D3DTOP_SELECTARG2 = 3;
constexpr DWORD D3DTOP_MODULATE = 4;
constexpr DWORD D3DTA_DIFFUSE = 0;
constexpr DWORD D3DTA_CURRENT = 1;
constexpr DWORD D3DTA_TEXTURE = 2;

// Blend factors, cull modes, depth modes, fog modes, comparisons.
constexpr DWORD D3DBLEND_ZERO = 1;
constexpr DWORD D3DBLEND_ONE = 2;
constexpr DWORD D3DBLEND_SRCCOLOR = 3;
constexpr DWORD D3DBLEND_INVSRCCOLOR = 4;
constexpr DWORD D3DBLEND_SRCALPHA = 5;
constexpr DWORD D3DBLEND_INVSRCALPHA = 6;
constexpr DWORD D3DBLEND_DESTALPHA = 7;
constexpr DWORD D3DBLEND_INVDESTALPHA = 8;
constexpr DWORD D3DBLEND_DESTCOLOR = 9;
constexpr DWORD D3DBLEND_INVDESTCOLOR = 10;
constexpr DWORD D3DCULL_NONE = 1;
constexpr DWORD D3DCULL_CW = 2;
constexpr DWORD D3DCULL_CCW = 3;
constexpr DWORD D3DZB_FALSE = 0;
constexpr DWORD D3DZB_TRUE = 1;
constexpr DWORD D3DFOG_NONE = 0;
constexpr DWORD D3DFOG_LINEAR = 3;
constexpr DWORD D3DCMP_LESSEQUAL = 4;

// Flexible vertex format bits.
constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_XYZRHW = 0x004;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_SPECULAR = 0x080;
constexpr DWORD D3DFVF_TEX1 = 0x100;

constexpr DWORD D3DCLEAR_TARGET = 1;
constexpr DWORD D3DCLEAR_ZBUFFER = 2;
constexpr DWORD D3DCLEAR_STENCIL = 4;

constexpr DWORD D3DUSAGE_RENDERTARGET = 1;
constexpr DWORD D3DLOCK_READONLY = 0x10;
constexpr DWORD D3DUSAGE_DEPTHSTENCIL = 2;

constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr DWORD D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;

constexpr UINT D3DADAPTER_DEFAULT = 0;
constexpr UINT D3D_SDK_VERSION = 32;
constexpr UINT D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;

// Result codes.
constexpr HRESULT D3D_OK = 0;
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = static_cast<HRESULT>(0x88760869u);
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);

struct D3DVECTOR {
    float x, y, z;
};

struct D3DCOLORVALUE {
    float r, g, b, a;
};

struct D3DMATRIX {
    float m[4][4];
};

struct D3DDISPLAYMODE {
    UINT Width;
    UINT Height;
    UINT RefreshRate;
    D3DFORMAT Format;
};

// Only the capabilities the program reads.
struct D3DCAPS9 {
    D3DDEVTYPE DeviceType;
    UINT AdapterOrdinal;
    DWORD MaxPrimitiveCount;
    DWORD MaxVertexIndex;
    DWORD MaxStreams;
};

struct D3DPRESENT_PARAMETERS {
    UINT BackBufferWidth;
    UINT BackBufferHeight;
    D3DFORMAT BackBufferFormat;
    UINT BackBufferCount;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    D3DSWAPEFFECT SwapEffect;
    HWND hDeviceWindow;
    BOOL Windowed;
    BOOL EnableAutoDepthStencil;
    D3DFORMAT AutoDepthStencilFormat;
    DWORD Flags;
    UINT FullScreen_RefreshRateInHz;
    UINT PresentationInterval;
};

struct D3DLIGHT9 {
    D3DLIGHTTYPE Type;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DVECTOR Position;
    D3DVECTOR Direction;
    float Range;
    float Falloff;
    float Attenuation0;
    float Attenuation1;
    float Attenuation2;
    float Theta;
    float Phi;
};

struct D3DMATERIAL9 {
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Ambient;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Emissive;
    float Power;
};

struct D3DVIEWPORT9 {
    DWORD X;
    DWORD Y;
    DWORD Width;
    DWORD Height;
    float MinZ;
    float MaxZ;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format;
    D3DRESOURCETYPE Type;
    DWORD Usage;
    D3DPOOL Pool;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    UINT Width;
    UINT Height;
};

struct D3DLOCKED_RECT {
    int Pitch;
    void* pBits;
};
