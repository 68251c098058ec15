#include "platform/dsound/SoundBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "platform/dsound/AudioMixer.h"

SoundBuffer::SoundBuffer(const WAVEFORMATEX& format, DWORD bytes)
    : format_(format), data_(bytes, 0), frames_(bytes / format.nBlockAlign),
      generation_(AudioMixer::Instance().Generation())
{
    // Silence for 8-bit PCM is the middle value.
    if (format.wBitsPerSample == 8) {
        std::fill(data_.begin(), data_.end(), BYTE(0x80));
    }
    asked_.reserve(8);
    AudioMixer::Instance().AddSource(this);
}

SoundBuffer::~SoundBuffer()
{
    AudioMixer::Instance().RemoveSource(this);
    AudioMixer::Instance().ReleaseUser();
}

bool SoundBuffer::IsPlayableFormat(const WAVEFORMATEX& f)
{
    if (f.wFormatTag != WAVE_FORMAT_PCM || f.nChannels < 1 || f.nChannels > 8) {
        return false;
    }
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16 && f.wBitsPerSample != 24 && f.wBitsPerSample != 32) {
        return false;
    }
    if (f.nBlockAlign != f.nChannels * (f.wBitsPerSample / 8)) {
        return false;
    }
    return f.nSamplesPerSec >= 100 && f.nSamplesPerSec <= 384000;
}

ULONG SoundBuffer::AddRef()
{
    return ++refs_;
}

ULONG SoundBuffer::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

bool SoundBuffer::Lost() const
{
    AudioMixer& mixer = AudioMixer::Instance();
    return generation_ != mixer.Generation() || mixer.IsLost();
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1, LPVOID* part2, DWORD* bytes2,
                          DWORD flags)
{
    if (!part1 || !bytes1) {
        return DSERR_INVALIDPARAM;
    }
    if (Lost()) {
        return DSERR_BUFFERLOST;
    }
    DWORD size = static_cast<DWORD>(data_.size());
    if (flags & DSBLOCK_ENTIREBUFFER) {
        bytes = size;
        offset = 0;
    } else if (flags & DSBLOCK_FROMWRITECURSOR) {
        // The write cursor is where the play cursor is: the position at the next frame the mixer
        // renders.
        AudioMixer& mixer = AudioMixer::Instance();
        std::lock_guard lock(mixer.Mutex());
        bool sounding = false;
        offset = static_cast<DWORD>(PositionAt(mixer.RenderedFrames(), &sounding)) * format_.nBlockAlign % size;
    }
    if (offset >= size || bytes == 0 || bytes > size) {
        return DSERR_INVALIDPARAM;
    }
    DWORD first = std::min(bytes, size - offset);
    *part1 = data_.data() + offset;
    *bytes1 = first;
    DWORD rest = bytes - first;
    if (rest > 0 && (!part2 || !bytes2)) {
        return DSERR_INVALIDPARAM;
    }
    if (part2) {
        *part2 = rest > 0 ? data_.data() : nullptr;
    }
    if (bytes2) {
        *bytes2 = rest;
    }
    locked_ = true;
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2)
{
    BYTE* begin = data_.data();
    BYTE* end = begin + data_.size();
    auto inside = [&](LPVOID p, DWORD n) {
        auto* b = static_cast<BYTE*>(p);
        return !p || (b >= begin && n <= static_cast<std::size_t>(end - b));
    };
    if (!locked_ || !part1 || !inside(part1, bytes1) || !inside(part2, bytes2)) {
        return DSERR_INVALIDPARAM;
    }
    locked_ = false;
    return DS_OK;
}

HRESULT SoundBuffer::Restore()
{
    AudioMixer& mixer = AudioMixer::Instance();
    if (!mixer.Reopen()) {
        return DSERR_BUFFERLOST;
    }
    generation_ = mixer.Generation();
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD, DWORD priority, DWORD flags)
{
    if (priority != 0) {
        return DSERR_INVALIDPARAM;
    }
    if (Lost()) {
        return DSERR_BUFFERLOST;
    }
    Ask((flags & DSBPLAY_LOOPING) != 0 ? Change::PlayLooping : Change::Play);
    return DS_OK;
}

HRESULT SoundBuffer::Stop()
{
    Ask(Change::Stop);
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position)
{
    if (position >= data_.size()) {
        return DSERR_INVALIDPARAM;
    }
    Ask(Change::Position, static_cast<double>(position / format_.nBlockAlign));
    return DS_OK;
}

void SoundBuffer::Ask(Change change, double position)
{
    AudioMixer& mixer = AudioMixer::Instance();
    {
        std::lock_guard lock(mixer.Mutex());
        asked_.emplace_back(change, position);
        mixer.NoteChange();
    }
    // A start or a stop is worth placing into sound that is already queued for the device.
    mixer.PlayStateChanged();
}

double SoundBuffer::PositionAt(long long frame, bool* sounding) const
{
    *sounding = false;
    if (!playing_) {
        return position_;
    }
    double at = start_ + static_cast<double>(frame - from_) * step_;
    if (frame < from_ || frames_ == 0) {
        return start_;
    }
    if (at < frames_) {
        *sounding = true;
        return at;
    }
    if (!looping_) {
        return 0.0;  // it ran out and stopped; a new play starts from the beginning
    }
    *sounding = true;
    return std::fmod(at, static_cast<double>(frames_));
}

void SoundBuffer::Settle(long long frame)
{
    if (asked_.empty()) {
        return;
    }
    step_ = static_cast<double>(format_.nSamplesPerSec) / AudioMixer::Instance().Rate();
    for (auto [change, position] : asked_) {
        bool sounding = false;
        double now = PositionAt(frame, &sounding);
        switch (change) {
        case Change::Stop:
            position_ = now;
            playing_ = false;
            break;
        case Change::Position:
            position_ = position;
            if (playing_ && sounding) {
                from_ = frame;
                start_ = position;
            } else {
                playing_ = false;
            }
            break;
        case Change::Play:
        case Change::PlayLooping:
            looping_ = change == Change::PlayLooping;
            if (!(playing_ && sounding)) {
                playing_ = true;
                from_ = frame;
                start_ = now;
            }
            break;
        }
    }
    asked_.clear();
}

float SoundBuffer::SampleAt(DWORD frame, int channel) const
{
    const BYTE* p = data_.data() + std::size_t(frame) * format_.nBlockAlign +
                    std::size_t(channel) * (format_.wBitsPerSample / 8);
    switch (format_.wBitsPerSample) {
    case 8:
        return (static_cast<int>(p[0]) - 128) / 128.0f;
    case 16:
        return static_cast<std::int16_t>(p[0] | (p[1] << 8)) / 32768.0f;
    case 24: {
        std::int32_t v = (p[0] << 8) | (p[1] << 16) | (p[2] << 24);
        return static_cast<float>(v / 2147483648.0);
    }
    default: {
        std::int32_t v = static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24));
        return static_cast<float>(v / 2147483648.0);
    }
    }
}

void SoundBuffer::MixInto(float* out, int frames, int rate, long long first)
{
    if (!playing_ || frames_ == 0) {
        return;
    }
    const double step = static_cast<double>(format_.nSamplesPerSec) / rate;
    const int channels = format_.nChannels;
    // Only the frames from the start of the play on; a frame before it is silence.
    int i = static_cast<int>(std::clamp<long long>(from_ - first, 0, frames));
    double position = start_ + static_cast<double>(first + i - from_) * step;
    for (; i < frames; ++i, position += step) {
        if (position >= frames_) {
            if (!looping_) {
                return;
            }
            position = std::fmod(position, static_cast<double>(frames_));
        }
        DWORD f0 = static_cast<DWORD>(position);
        double frac = position - f0;
        DWORD f1 = f0 + 1 < frames_ ? f0 + 1 : (looping_ ? 0 : f0);
        for (int side = 0; side < 2; ++side) {
            // Mono feeds both sides; the first two channels are left and right.
            int ch = channels == 1 ? 0 : side;
            float a = SampleAt(f0, ch);
            float b = SampleAt(f1, ch);
            out[i * 2 + side] += static_cast<float>(a + (b - a) * frac);
        }
    }
}
