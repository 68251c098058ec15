#pragma once
// A secondary buffer: the PCM bytes in the format they were created with, played into the mixer
// with conversion to the device's rate and channels.
#include <atomic>
#include <vector>

#include "platform/dsound/AudioSource.h"
#include "platform/dsound/DSound.h"

class SoundBuffer : public IDirectSoundBuffer, public AudioSource {
public:
    SoundBuffer(const WAVEFORMATEX& format, DWORD bytes);
    virtual ~SoundBuffer();

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1, LPVOID* part2, DWORD* bytes2,
                 DWORD flags) override;
    HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) override;
    HRESULT Restore() override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT Stop() override;
    HRESULT SetCurrentPosition(DWORD position) override;

    void MixInto(float* out, int frames, int rate) override;

    // True when the format is one the mixer can play.
    static bool IsPlayableFormat(const WAVEFORMATEX& format);

private:
    bool Lost() const;
    float SampleAt(DWORD frame, int channel) const;

    std::atomic<ULONG> refs_{1};
    WAVEFORMATEX format_;
    std::vector<BYTE> data_;
    DWORD frames_;
    unsigned generation_;
    bool locked_ = false;
    // Play state, guarded by the mixer lock.
    bool playing_ = false;
    bool looping_ = false;
    double position_ = 0.0;  // in frames of the buffer
};
