#pragma once
// The one audio output of the program. Sound-effect buffers and the music synthesiser are
// sources mixed into it; it opens with the first user and closes with the last.
//
// The output is a timeline of frames. Streams (the synthesiser) are rendered once, in order, and
// kept for a while; sound buffers play from a frame on, so the frames already rendered can be
// rendered again with a change of play state placed into them. Through a sound server the output
// keeps a deep queue ahead of the speaker, so that the process may stall for a while without a
// gap, and a new sound is written into that queue near the speaker instead of behind it.
#include <SDL.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/dsound/AudioSource.h"

class PulseOutput;

class AudioMixer {
public:
    static AudioMixer& Instance();

    // Opens the device for one more user; false when no audio device can be opened.
    bool Acquire();
    void ReleaseUser();

    // Sources are mixed in the order added. Both take the mixer lock.
    void AddSource(AudioSource* source);
    void RemoveSource(AudioSource* source);

    // Held while the output renders; sources take it to change their play state.
    std::recursive_mutex& Mutex() { return mutex_; }
    // A source asked for a play-state change (under the mixer lock), and, once the lock is let
    // go, wakes the output to place it as early as it can.
    void NoteChange() { changesAsked_ = true; }
    // A stream started, stopped or changed its piece (under the mixer lock): from the frame where
    // the change is placed, its queued frames are given up and it goes on there. Only for a cut
    // that may be heard as one: the stream skips what it had queued.
    void RestartStreams()
    {
        streamsRestarted_ = true;
        changesAsked_ = true;
    }
    bool ChangesAsked() const { return changesAsked_; }
    void PlayStateChanged();

    int Rate() const { return rate_; }
    int BlockFrames() const { return blockFrames_; }
    // Frames rendered so far; the next render starts here. Under the mixer lock.
    long long RenderedFrames() const { return rendered_; }

    // The device's generation: it changes whenever the device is reopened after a loss.
    unsigned Generation() const { return generation_; }
    bool IsLost();
    // Reopens a lost device; true when it runs again.
    bool Reopen();

    // Renders the next frames of the timeline; the sum passes a limiter, so it never reaches
    // full scale.
    void Render(float* out, int frames);
    // Renders again the frames from `from` to the end of what was rendered, with the play
    // changes asked for since placed at `from`; returns how many (0 when `from` is no longer
    // kept). The streams' frames are the ones rendered before, so the music runs on unbroken,
    // unless the streams were restarted: then they go on from `from` with their next frames.
    int Rerender(float* out, long long from);
    // How far back Rerender reaches.
    static constexpr int kKeptFrames = 32768;

    // The limiter's output ceiling (one source alone stays below it) and how fast its gain
    // recovers once the sum falls back.
    static constexpr float kLimiterCeiling = 0.95f;
    static constexpr float kLimiterReleaseDbPerSecond = 40.0f;

    void SetPullMode(bool pull) { pullMode_ = pull; }
    bool PullMode() const { return pullMode_; }
    void SetCaptureHook(std::function<void(const float*, int)> hook);
    void SimulateLoss();

private:
    AudioMixer();
    ~AudioMixer();
    bool OpenDevice();
    void CloseDevice();
    static void Callback(void* self, Uint8* stream, int len);
    void Settle(long long frame);
    void MixStreams(float* out, int frames, long long first);
    void MixPlaced(float* out, int frames, long long first);
    void Limit(float* out, int frames, long long first);

    std::recursive_mutex mutex_;
    std::mutex openMutex_;
    std::vector<AudioSource*> sources_;
    std::function<void(const float*, int)> capture_;
    SDL_AudioDeviceID device_ = 0;
    std::unique_ptr<PulseOutput> server_;
    int users_ = 0;
    int rate_ = 44100;
    int blockFrames_ = 512;
    unsigned generation_ = 1;
    bool pullMode_ = false;
    bool simulatedLoss_ = false;
    // The timeline, under the mixer lock: frames rendered, and of the last kKeptFrames the
    // streams' sum and the limiter's gain after each frame.
    long long rendered_ = 0;
    std::vector<float> streams_;
    std::vector<float> gains_;
    std::vector<float> scratch_;
    float limiterGain_ = 1.0f;
    bool changesAsked_ = false;
    bool streamsRestarted_ = false;
};
