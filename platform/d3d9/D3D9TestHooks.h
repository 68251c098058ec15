#pragma once
// Seams for tests: the adapter's answers set by the test, a recording device in place of the
// OpenGL one, a log of device creations, and forced device loss.
#include <optional>
#include <utility>
#include <vector>

#include "platform/d3d9/D3D9.h"

struct D3D9AdapterAnswers {
    bool createFails = false;  // Direct3DCreate9 returns null
    D3DCAPS9 halCaps{D3DDEVTYPE_HAL, 0, 0xFFFFF, 0xFFFFF, 16};
    D3DCAPS9 refCaps{D3DDEVTYPE_REF, 0, 0xFFFFF, 0xFFFFF, 16};
    HRESULT halCapsResult = D3D_OK;
    HRESULT refCapsResult = D3D_OK;
    D3DDISPLAYMODE displayMode{1280, 1024, 60, D3DFMT_X8R8G8B8};
    HRESULT displayModeResult = D3D_OK;
    std::vector<D3DFORMAT> backBufferFormats{D3DFMT_X8R8G8B8};
    std::vector<D3DFORMAT> depthFormats{D3DFMT_D16, D3DFMT_D24S8};
    std::vector<D3DFORMAT> renderTextureFormats{D3DFMT_X8R8G8B8};
    std::vector<std::pair<D3DMULTISAMPLE_TYPE, DWORD>> multiSample{{D3DMULTISAMPLE_NONE, 1}};
    std::vector<D3DDISPLAYMODE> modes{{640, 480, 60, D3DFMT_X8R8G8B8}, {1280, 1024, 60, D3DFMT_X8R8G8B8}};
    // Device creations that fail, by device type and vertex-processing flag.
    std::vector<std::pair<D3DDEVTYPE, DWORD>> failingCreates;
    bool recordingDevice = true;  // false: the OpenGL device with these answers
};

// Replaces the adapter's own answers for every IDirect3D9 created afterwards; nullopt restores them.
void D3D9SetAdapterAnswers(std::optional<D3D9AdapterAnswers> answers);

struct D3D9CreateDeviceRecord {
    D3DDEVTYPE type;
    DWORD flags;
    D3DPRESENT_PARAMETERS parameters;
    HRESULT result;
};
std::vector<D3D9CreateDeviceRecord>& D3D9CreateDeviceLog();

// Device loss as losing the full-screen focus causes it; while held the device reports
// D3DERR_DEVICELOST to TestCooperativeLevel and Reset, afterwards D3DERR_DEVICENOTRESET.
void D3D9ForceDeviceLoss(IDirect3DDevice9* device, bool held);
void D3D9ReleaseDeviceLossHold(IDirect3DDevice9* device);
// Number of default-pool objects of the device still alive.
int D3D9LiveDefaultPoolObjects(IDirect3DDevice9* device);
// The parameters the device runs with.
D3DPRESENT_PARAMETERS D3D9DeviceParameters(IDirect3DDevice9* device);
// Seconds the device has spent in Present since it was made: the share of a frame that hands
// the finished picture to the window (benchmarks).
double D3D9PresentSeconds(IDirect3DDevice9* device);
// Finished pictures the device has copied (into the window or a front buffer of its own) since
// it was made: a picture drawn straight into the window needs none.
int D3D9PictureCopies(IDirect3DDevice9* device);
