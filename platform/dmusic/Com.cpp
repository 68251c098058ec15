// The per-thread component runtime and the classes it can create.
#include "platform/dmusic/DMusic.h"
#include "platform/dmusic/MusicLoader.h"
#include "platform/dmusic/MusicPerformance.h"

// Identifiers of this layer's own making; nothing outside the program sees them.
const CLSID CLSID_DirectMusicLoader = {0x2b7e4d01, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x01}};
const CLSID CLSID_DirectMusicPerformance = {0x2b7e4d02, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x02}};
const CLSID CLSID_DirectMusicSegment = {0x2b7e4d03, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x03}};
const IID IID_IDirectMusicLoader8 = {0x2b7e4d11, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x11}};
const IID IID_IDirectMusicPerformance8 = {0x2b7e4d12, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x12}};
const IID IID_IDirectMusicSegment8 = {0x2b7e4d13, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x13}};
const GUID GUID_DirectMusicAllTypes = {0x2b7e4d21, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x21}};
const GUID GUID_PerfMasterVolume = {0x2b7e4d22, 0x71c3, 0x4f0a, {0x8e, 0x21, 0x55, 0x0c, 0x9d, 0x13, 0x6a, 0x22}};

namespace {
thread_local int t_initCount = 0;
}  // namespace

HRESULT CoInitialize(void*)
{
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_initCount > 0) {
        --t_initCount;
    }
}

HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID iid, void** object)
{
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (t_initCount == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (outer) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    if (!(context & CLSCTX_INPROC)) {
        return REGDB_E_CLASSNOTREG;
    }
    if (classId == CLSID_DirectMusicLoader) {
        if (!(iid == IID_IDirectMusicLoader8)) {
            return E_NOINTERFACE;
        }
        *object = static_cast<IDirectMusicLoader8*>(new MusicLoader);
        return S_OK;
    }
    if (classId == CLSID_DirectMusicPerformance) {
        if (!(iid == IID_IDirectMusicPerformance8)) {
            return E_NOINTERFACE;
        }
        *object = static_cast<IDirectMusicPerformance8*>(new MusicPerformance);
        return S_OK;
    }
    return REGDB_E_CLASSNOTREG;
}
