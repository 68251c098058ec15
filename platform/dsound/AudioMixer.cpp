#include "platform/dsound/AudioMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/dsound/AudioCapture.h"
#include "platform/dsound/PulseOutput.h"

AudioMixer& AudioMixer::Instance()
{
    static AudioMixer mixer;
    return mixer;
}

AudioMixer::AudioMixer()
    : streams_(static_cast<std::size_t>(kKeptFrames) * 2, 0.0f), gains_(kKeptFrames, 1.0f)
{
}

AudioMixer::~AudioMixer() = default;

bool AudioMixer::OpenDevice()
{
    if (pullMode_) {
        return true;
    }
    // Where SDL would go through a sound server (its first choice, unless another driver is
    // asked for by name), the mixer talks to the server itself: SDL's stream holds one block in
    // the server, so any stall of a few milliseconds is heard. With no server running, SDL goes
    // on to its other drivers.
    const char* driver = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    if (!driver || !*driver || SDL_strncasecmp(driver, "pulseaudio", 10) == 0) {
        auto server = std::make_unique<PulseOutput>(*this);
        {
            // Set before the server's thread starts to render.
            std::lock_guard lock(mutex_);
            rate_ = 44100;
            blockFrames_ = PulseOutput::LeadFramesAt(rate_);
        }
        if (server->Open(44100)) {
            server_ = std::move(server);
            return true;
        }
    }
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    // A small block keeps the delay from a play request to the speaker short.
    want.samples = 512;
    want.callback = &AudioMixer::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        return false;
    }
    rate_ = have.freq;
    blockFrames_ = have.samples;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void AudioMixer::CloseDevice()
{
    server_.reset();
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
}

bool AudioMixer::Acquire()
{
    std::lock_guard lock(openMutex_);
    if (users_ == 0) {
        simulatedLoss_ = false;
        if (!OpenDevice()) {
            return false;
        }
    }
    ++users_;
    return true;
}

void AudioMixer::ReleaseUser()
{
    std::lock_guard lock(openMutex_);
    if (users_ > 0 && --users_ == 0) {
        CloseDevice();
    }
}

void AudioMixer::AddSource(AudioSource* source)
{
    std::lock_guard lock(mutex_);
    sources_.push_back(source);
}

void AudioMixer::RemoveSource(AudioSource* source)
{
    std::lock_guard lock(mutex_);
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

bool AudioMixer::IsLost()
{
    std::lock_guard lock(openMutex_);
    if (simulatedLoss_ || (server_ && server_->Failed())) {
        return true;
    }
    return !pullMode_ && device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

bool AudioMixer::Reopen()
{
    std::lock_guard lock(openMutex_);
    bool lost = simulatedLoss_ || (server_ && server_->Failed()) ||
                (!pullMode_ && device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED);
    if (!lost) {
        return true;
    }
    CloseDevice();
    if (!OpenDevice()) {
        return false;
    }
    simulatedLoss_ = false;
    ++generation_;
    return true;
}

void AudioMixer::SimulateLoss()
{
    std::lock_guard lock(openMutex_);
    simulatedLoss_ = true;
}

void AudioMixer::PlayStateChanged()
{
    std::lock_guard lock(openMutex_);
    if (server_) {
        server_->Wake();
    }
}

void AudioMixer::Settle(long long frame)
{
    if (!changesAsked_) {
        return;
    }
    changesAsked_ = false;
    for (AudioSource* s : sources_) {
        s->Settle(frame);
    }
}

void AudioMixer::MixStreams(float* out, int frames, long long first)
{
    for (AudioSource* s : sources_) {
        if (!s->Replayable()) {
            s->MixInto(out, frames, rate_, first);
        }
    }
    // Kept: a stream cannot render the same frames twice.
    for (int i = std::max(0, frames - kKeptFrames); i < frames; ++i) {
        std::size_t at = static_cast<std::size_t>((first + i) % kKeptFrames) * 2;
        streams_[at] = out[2 * i];
        streams_[at + 1] = out[2 * i + 1];
    }
}

void AudioMixer::MixPlaced(float* out, int frames, long long first)
{
    for (AudioSource* s : sources_) {
        if (s->Replayable()) {
            s->MixInto(out, frames, rate_, first);
        }
    }
}

void AudioMixer::Render(float* out, int frames)
{
    std::fill(out, out + frames * 2, 0.0f);
    std::lock_guard lock(mutex_);
    Settle(rendered_);
    streamsRestarted_ = false;  // nothing queued to give up: the streams go on here anyway
    MixStreams(out, frames, rendered_);
    MixPlaced(out, frames, rendered_);
    Limit(out, frames, rendered_);
    rendered_ += frames;
    if (capture_) {
        capture_(out, frames);
    }
}

int AudioMixer::Rerender(float* out, long long from)
{
    std::lock_guard lock(mutex_);
    if (from >= rendered_ || from <= rendered_ - kKeptFrames || from < 0) {
        return 0;
    }
    int frames = static_cast<int>(rendered_ - from);
    Settle(from);
    if (streamsRestarted_) {
        streamsRestarted_ = false;
        std::fill(out, out + frames * 2, 0.0f);
        MixStreams(out, frames, from);
    } else {
        for (int i = 0; i < frames; ++i) {
            std::size_t at = static_cast<std::size_t>((from + i) % kKeptFrames) * 2;
            out[2 * i] = streams_[at];
            out[2 * i + 1] = streams_[at + 1];
        }
    }
    MixPlaced(out, frames, from);
    // The limiter goes on from where it stood before the first frame rendered again.
    limiterGain_ = from > 0 ? gains_[static_cast<std::size_t>((from - 1) % kKeptFrames)] : 1.0f;
    Limit(out, frames, from);
    if (capture_) {
        capture_(out, frames);
    }
    return frames;
}

void AudioMixer::Limit(float* out, int frames, long long first)
{
    // Gain falls at once to what the loudest channel of a frame needs and climbs back by
    // kLimiterReleaseDbPerSecond, so a sum over the ceiling is turned down smoothly instead of
    // being cut off, and a mix below it passes untouched.
    const float release = std::pow(10.0f, kLimiterReleaseDbPerSecond / 20.0f / static_cast<float>(rate_));
    for (int i = 0; i < frames; ++i) {
        float* frame = out + 2 * i;
        float peak = std::max(std::fabs(frame[0]), std::fabs(frame[1]));
        if (!std::isfinite(peak)) {
            frame[0] = frame[1] = 0.0f;  // a broken source must not silence the mix for good
        } else {
            limiterGain_ = std::min(1.0f, limiterGain_ * release);
            if (peak * limiterGain_ > kLimiterCeiling) {
                limiterGain_ = kLimiterCeiling / peak;
            }
            frame[0] *= limiterGain_;
            frame[1] *= limiterGain_;
        }
        gains_[static_cast<std::size_t>((first + i) % kKeptFrames)] = limiterGain_;
    }
}

void AudioMixer::SetCaptureHook(std::function<void(const float*, int)> hook)
{
    std::lock_guard lock(mutex_);
    capture_ = std::move(hook);
}

void AudioMixer::Callback(void* self, Uint8* stream, int len)
{
    auto* mixer = static_cast<AudioMixer*>(self);
    mixer->Render(reinterpret_cast<float*>(stream), len / static_cast<int>(2 * sizeof(float)));
}

void AudioSetCaptureHook(AudioCaptureHook hook)
{
    AudioMixer::Instance().SetCaptureHook(std::move(hook));
}

void AudioSetPullMode(bool pull)
{
    AudioMixer::Instance().SetPullMode(pull);
}

void AudioPull(float* out, int frames)
{
    AudioMixer::Instance().Render(out, frames);
}

int AudioOutputRate()
{
    return AudioMixer::Instance().Rate();
}

int AudioBlockFrames()
{
    return AudioMixer::Instance().BlockFrames();
}

void AudioSimulateDeviceLoss()
{
    AudioMixer::Instance().SimulateLoss();
}
