#pragma once
// A segment loaded from a MIDI file: the file's events and how the segment is to be played.
// Times given to it are music times (768 per quarter note), kept in the file's own ticks.
#include <atomic>
#include <memory>

#include "platform/dmusic/DMusic.h"
#include "platform/dmusic/MidiFile.h"
#include "platform/dmusic/MidiSequencer.h"

class MusicSegment : public IDirectMusicSegment8 {
public:
    explicit MusicSegment(std::shared_ptr<const MidiFile> file);
    virtual ~MusicSegment() = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetLength(MUSIC_TIME* length) override;
    HRESULT SetStartPoint(MUSIC_TIME start) override;
    HRESULT SetLoopPoints(MUSIC_TIME start, MUSIC_TIME end) override;
    HRESULT GetRepeats(DWORD* repeats) override;
    HRESULT SetRepeats(DWORD repeats) override;
    HRESULT Download(IUnknown* target) override;
    HRESULT Unload(IUnknown* target) override;

    std::shared_ptr<const MidiFile> File() const { return file_; }
    // The play settings in the file's ticks.
    MidiSequencer::Settings PlaySettings() const;

private:
    double ToTicks(MUSIC_TIME t) const;

    std::atomic<ULONG> refs_{1};
    std::shared_ptr<const MidiFile> file_;
    MUSIC_TIME length_;
    MUSIC_TIME start_ = 0;
    MUSIC_TIME loopStart_ = 0;
    MUSIC_TIME loopEnd_ = 0;
    DWORD repeats_ = 0;
    int downloads_ = 0;
};
