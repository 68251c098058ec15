#pragma once
// MIDI music through the component interfaces the program uses: loader, performance and
// segment, over FluidSynth with the system's General MIDI soundfont, mixed into the same SDL
// audio device as the sound effects.
#include <cstdint>

#include "platform/dsound/DSound.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Types.h"

using MUSIC_TIME = LONG;
using REFERENCE_TIME = std::int64_t;

// Music time runs at 768 ticks per quarter note whatever the file's own resolution.
constexpr MUSIC_TIME DMUS_PPQ = 768;
constexpr DWORD DMUS_SEG_REPEAT_INFINITE = 0xFFFFFFFFu;
constexpr DWORD DMUS_APATH_SHARED_STEREOPLUSREVERB = 1;
constexpr DWORD DMUS_APATH_DYNAMIC_STEREO = 8;
constexpr DWORD DMUS_AUDIOF_ALL = 0x3F;
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;

constexpr HRESULT DMUS_E_NOT_INIT = static_cast<HRESULT>(0x88781172u);
constexpr HRESULT DMUS_E_ALREADY_INITED = static_cast<HRESULT>(0x88781173u);
constexpr HRESULT DMUS_E_OUT_OF_RANGE = static_cast<HRESULT>(0x88781176u);
constexpr HRESULT DMUS_E_LOADER_FAILEDOPEN = static_cast<HRESULT>(0x88781180u);
constexpr HRESULT DMUS_E_LOADER_BADPATH = static_cast<HRESULT>(0x88781184u);
constexpr HRESULT DMUS_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x88781185u);
constexpr HRESULT DMUS_E_NOT_DOWNLOADED_TO_PORT = static_cast<HRESULT>(0x8878118Bu);
constexpr HRESULT DMUS_E_NO_SOUNDFONT = static_cast<HRESULT>(0x887811A0u);

extern const CLSID CLSID_DirectMusicLoader;
extern const CLSID CLSID_DirectMusicPerformance;
extern const CLSID CLSID_DirectMusicSegment;
extern const IID IID_IDirectMusicLoader8;
extern const IID IID_IDirectMusicPerformance8;
extern const IID IID_IDirectMusicSegment8;
extern const GUID GUID_DirectMusicAllTypes;
extern const GUID GUID_PerfMasterVolume;

// Not provided here; the program passes null for each.
struct IDirectMusic;
struct IDirectMusicSegmentState;
struct DMUS_AUDIOPARAMS;

struct IDirectMusicSegment8 : IUnknown {
    virtual HRESULT GetLength(MUSIC_TIME* length) = 0;
    virtual HRESULT SetStartPoint(MUSIC_TIME start) = 0;
    virtual HRESULT SetLoopPoints(MUSIC_TIME start, MUSIC_TIME end) = 0;
    virtual HRESULT GetRepeats(DWORD* repeats) = 0;
    virtual HRESULT SetRepeats(DWORD repeats) = 0;
    virtual HRESULT Download(IUnknown* target) = 0;
    virtual HRESULT Unload(IUnknown* target) = 0;

protected:
    ~IDirectMusicSegment8() = default;
};

struct IDirectMusicPerformance8 : IUnknown {
    virtual HRESULT InitAudio(IDirectMusic** music, IDirectSound** sound, HWND window, DWORD defaultPathType,
                              DWORD performanceChannels, DWORD flags, DMUS_AUDIOPARAMS* params) = 0;
    virtual HRESULT PlaySegmentEx(IUnknown* source, WCHAR* segmentName, IUnknown* transition, DWORD flags,
                                  REFERENCE_TIME startTime, IDirectMusicSegmentState** state, IUnknown* from,
                                  IUnknown* audioPath) = 0;
    virtual HRESULT Stop(IDirectMusicSegment8* segment, IDirectMusicSegmentState* state, MUSIC_TIME time,
                         DWORD flags) = 0;
    // S_OK while the segment (any segment when null) plays, S_FALSE otherwise.
    virtual HRESULT IsPlaying(IDirectMusicSegment8* segment, IDirectMusicSegmentState* state) = 0;
    virtual HRESULT SetGlobalParam(REFGUID param, void* data, DWORD size) = 0;
    virtual HRESULT CloseDown() = 0;

protected:
    ~IDirectMusicPerformance8() = default;
};

struct IDirectMusicLoader8 : IUnknown {
    virtual HRESULT SetSearchDirectory(REFGUID objectClass, WCHAR* directory, BOOL clear) = 0;
    // Loads a Standard MIDI File as a segment; relative paths are taken from the search directory.
    virtual HRESULT LoadObjectFromFile(REFGUID classId, REFIID iid, WCHAR* path, void** object) = 0;

protected:
    ~IDirectMusicLoader8() = default;
};

// The component runtime, per thread.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID iid, void** object);
