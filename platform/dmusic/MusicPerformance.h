#pragma once
// The performance: the process's FluidSynth synthesiser with the General MIDI soundfont, playing
// one primary segment at a time, mixed into the shared audio device.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <fluidsynth.h>

#include "platform/dmusic/DMusic.h"
#include "platform/dmusic/MidiSequencer.h"
#include "platform/dmusic/MidiSink.h"
#include "platform/dmusic/SharedSynth.h"
#include "platform/dsound/AudioSource.h"

class MusicSegment;

class MusicPerformance : public IDirectMusicPerformance8, public AudioSource, private MidiSink {
public:
    MusicPerformance() = default;
    virtual ~MusicPerformance();

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT InitAudio(IDirectMusic** music, IDirectSound** sound, HWND window, DWORD defaultPathType,
                      DWORD performanceChannels, DWORD flags, DMUS_AUDIOPARAMS* params) override;
    HRESULT PlaySegmentEx(IUnknown* source, WCHAR* segmentName, IUnknown* transition, DWORD flags,
                          REFERENCE_TIME startTime, IDirectMusicSegmentState** state, IUnknown* from,
                          IUnknown* audioPath) override;
    HRESULT Stop(IDirectMusicSegment8* segment, IDirectMusicSegmentState* state, MUSIC_TIME time,
                 DWORD flags) override;
    HRESULT IsPlaying(IDirectMusicSegment8* segment, IDirectMusicSegmentState* state) override;
    HRESULT SetGlobalParam(REFGUID param, void* data, DWORD size) override;
    HRESULT CloseDown() override;

    void MixInto(float* out, int frames, int rate, long long first) override;

    // The soundfont the synthesiser loads: the system's default General MIDI one.
    static std::string SoundFontPath();

private:
    void PieceChanged();
    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void Synthesize(float* out, int frames) override;

    std::atomic<ULONG> refs_{1};
    SharedSynth::Lease lease_;
    fluid_synth_t* synth_ = nullptr;  // the lease's, while the audio is started
    bool mixerHeld_ = false;
    // Guarded by the mixer lock.
    std::unique_ptr<MidiSequencer> sequencer_;
    MusicSegment* playing_ = nullptr;  // identity only, never dereferenced
    float gain_ = 1.0f;
    std::vector<float> scratch_;
};
