#pragma once
// The one SDL audio device of the program. Sound-effect buffers and the music synthesiser are
// sources mixed into it; it opens with the first user and closes with the last.
#include <SDL.h>

#include <functional>
#include <mutex>
#include <vector>

#include "platform/dsound/AudioSource.h"

class AudioMixer {
public:
    static AudioMixer& Instance();

    // Opens the device for one more user; false when no audio device can be opened.
    bool Acquire();
    void ReleaseUser();

    // Sources are mixed in the order added. Both take the mixer lock.
    void AddSource(AudioSource* source);
    void RemoveSource(AudioSource* source);

    // Held by the audio thread while it mixes; sources take it to change their play state.
    std::recursive_mutex& Mutex() { return mutex_; }

    int Rate() const { return rate_; }
    int BlockFrames() const { return blockFrames_; }

    // The device's generation: it changes whenever the device is reopened after a loss.
    unsigned Generation() const { return generation_; }
    bool IsLost();
    // Reopens a lost device; true when it runs again.
    bool Reopen();

    // Mixes every source into out; the sum passes a limiter, so it never reaches full scale.
    void Render(float* out, int frames);

    // The limiter's output ceiling (one source alone stays below it) and how fast its gain
    // recovers once the sum falls back.
    static constexpr float kLimiterCeiling = 0.95f;
    static constexpr float kLimiterReleaseDbPerSecond = 40.0f;

    void SetPullMode(bool pull) { pullMode_ = pull; }
    bool PullMode() const { return pullMode_; }
    void SetCaptureHook(std::function<void(const float*, int)> hook);
    void SimulateLoss();

private:
    AudioMixer() = default;
    bool OpenDevice();
    void CloseDevice();
    static void Callback(void* self, Uint8* stream, int len);
    void Limit(float* out, int frames);

    std::recursive_mutex mutex_;
    std::mutex openMutex_;
    std::vector<AudioSource*> sources_;
    std::function<void(const float*, int)> capture_;
    SDL_AudioDeviceID device_ = 0;
    int users_ = 0;
    int rate_ = 44100;
    int blockFrames_ = 512;
    unsigned generation_ = 1;
    bool pullMode_ = false;
    bool simulatedLoss_ = false;
    float limiterGain_ = 1.0f;  // audio thread (under the mixer lock)
};
