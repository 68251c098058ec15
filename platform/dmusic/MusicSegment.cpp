#include "platform/dmusic/MusicSegment.h"

#include <cmath>

MusicSegment::MusicSegment(std::shared_ptr<const MidiFile> file) : file_(std::move(file))
{
    double mt = std::ceil(static_cast<double>(file_->LengthTicks()) * DMUS_PPQ / file_->Division());
    length_ = static_cast<MUSIC_TIME>(std::min(mt, 2147483647.0));
}

ULONG MusicSegment::AddRef()
{
    return ++refs_;
}

ULONG MusicSegment::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

double MusicSegment::ToTicks(MUSIC_TIME t) const
{
    return static_cast<double>(t) * file_->Division() / DMUS_PPQ;
}

HRESULT MusicSegment::GetLength(MUSIC_TIME* length)
{
    if (!length) {
        return E_POINTER;
    }
    *length = length_;
    return S_OK;
}

HRESULT MusicSegment::SetStartPoint(MUSIC_TIME start)
{
    if (start < 0 || start >= length_) {
        return DMUS_E_OUT_OF_RANGE;
    }
    start_ = start;
    return S_OK;
}

HRESULT MusicSegment::SetLoopPoints(MUSIC_TIME start, MUSIC_TIME end)
{
    bool whole = start == 0 && end == 0;
    if (!whole && (start < 0 || end <= start || end > length_)) {
        return DMUS_E_OUT_OF_RANGE;
    }
    loopStart_ = start;
    loopEnd_ = end;
    return S_OK;
}

HRESULT MusicSegment::GetRepeats(DWORD* repeats)
{
    if (!repeats) {
        return E_POINTER;
    }
    *repeats = repeats_;
    return S_OK;
}

HRESULT MusicSegment::SetRepeats(DWORD repeats)
{
    repeats_ = repeats;
    return S_OK;
}

HRESULT MusicSegment::Download(IUnknown* target)
{
    // The instruments come from the soundfont the performance loaded; downloading only records
    // that this segment's instruments are in use there.
    if (!target) {
        return E_POINTER;
    }
    ++downloads_;
    return S_OK;
}

HRESULT MusicSegment::Unload(IUnknown* target)
{
    if (!target) {
        return E_POINTER;
    }
    if (downloads_ == 0) {
        return DMUS_E_NOT_DOWNLOADED_TO_PORT;
    }
    --downloads_;
    return S_OK;
}

MidiSequencer::Settings MusicSegment::PlaySettings() const
{
    MidiSequencer::Settings s;
    s.startTick = ToTicks(start_);
    s.loopStartTick = ToTicks(loopStart_);
    s.loopEndTick = ToTicks(loopEnd_);
    s.repeats = repeats_;
    return s;
}
