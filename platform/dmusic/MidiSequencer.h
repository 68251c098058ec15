#pragma once
// Plays one MIDI file as a segment: from a start point, looping a section (or the whole file)
// a number of times or forever, then on to the end. Runs sample-accurately inside the audio
// render. A loop jump releases every sounding note and restores the channel state that held at
// the loop start, so that no note hangs and no silence is inserted.
#include <bitset>
#include <memory>
#include <vector>

#include "platform/dmusic/MidiFile.h"
#include "platform/dmusic/MidiSink.h"

class MidiSequencer {
public:
    struct Settings {
        double startTick = 0;
        double loopStartTick = 0;
        double loopEndTick = 0;  // 0 with loopStartTick 0: the whole file
        std::uint32_t repeats = 0;  // 0xFFFFFFFF: forever
    };

    MidiSequencer(std::shared_ptr<const MidiFile> file, const Settings& settings, int rate);

    bool Finished() const { return finished_; }
    // Renders frames of interleaved stereo into out (overwriting), sending due events first.
    void Render(MidiSink& sink, float* out, int frames);
    // Releases every sounding note (used when the segment is stopped).
    void ReleaseNotes(MidiSink& sink);
    // The file tick the next rendered frame plays.
    double Position() const { return tick_; }

private:
    double TicksPerFrame() const;
    void SeekTo(MidiSink& sink, double tick);
    void Dispatch(MidiSink& sink, const MidiEvent& e);

    std::shared_ptr<const MidiFile> file_;
    Settings settings_;
    int rate_;
    double loopStart_;
    double loopEnd_;
    double end_;
    std::uint32_t repeatsLeft_;
    double tick_ = 0;
    std::size_t next_ = 0;
    std::uint32_t tempo_ = 500000;
    bool finished_ = false;
    bool started_ = false;
    std::bitset<16 * 128> sounding_;
};
