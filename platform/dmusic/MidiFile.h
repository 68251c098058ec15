#pragma once
// A Standard MIDI File (format 0 or 1, ticks per quarter note) read into one time-ordered list of
// channel events and tempo changes. Every length read from the file is checked against it.
#include <cstdint>
#include <string>
#include <vector>

struct MidiEvent {
    std::uint32_t tick;
    std::uint8_t status;  // channel message status byte, or 0xFF for a tempo change
    std::uint8_t data1;
    std::uint8_t data2;
    std::uint32_t tempo;  // microseconds per quarter note, for tempo changes
};

class MidiFile {
public:
    bool LoadFile(const std::string& hostPath);
    bool Parse(const std::vector<std::uint8_t>& bytes);

    int Division() const { return division_; }
    // The end of the longest track, in the file's ticks.
    std::uint32_t LengthTicks() const { return length_; }
    const std::vector<MidiEvent>& Events() const { return events_; }

private:
    bool ParseTrack(const std::uint8_t* data, std::size_t size);

    int division_ = 0;
    std::uint32_t length_ = 0;
    std::vector<MidiEvent> events_;
};
