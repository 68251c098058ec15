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

    void MixInto(float* out, int frames, int rate, long long first) override;
    bool Replayable() const override { return true; }
    void Settle(long long frame) override;

    // True when the format is one the mixer can play.
    static bool IsPlayableFormat(const WAVEFORMATEX& format);

private:
    // A play request, applied at the first frame the output can still change.
    enum class Change { Stop, Position, Play, PlayLooping };

    bool Lost() const;
    float SampleAt(DWORD frame, int channel) const;
    void Ask(Change change, double position = 0.0);
    // The buffer's position (in its own frames) at an output frame, and whether it still sounds
    // there; the play state as settled.
    double PositionAt(long long frame, bool* sounding) const;

    std::atomic<ULONG> refs_{1};
    WAVEFORMATEX format_;
    std::vector<BYTE> data_;
    DWORD frames_;
    unsigned generation_;
    bool locked_ = false;
    // Play state, guarded by the mixer lock. While playing, the buffer sounds from output frame
    // from_ on, at its position start_ there; a sound that ran out without looping has stopped.
    bool playing_ = false;
    bool looping_ = false;
    long long from_ = 0;
    double start_ = 0.0;     // in frames of the buffer
    double position_ = 0.0;  // where a stopped buffer plays from
    double step_ = 1.0;      // buffer frames per output frame
    std::vector<std::pair<Change, double>> asked_;
};
