#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Builds a one-track Standard MIDI File from timed events.
class MidiFixture {
public:
    explicit MidiFixture(int division = 480) : division_(division) {}

    void Tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
    void Program(std::uint32_t tick, int channel, int program);
    void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity = 100);
    // Ends the track at this tick (otherwise at the last event).
    void End(std::uint32_t tick) { end_ = tick; }

    std::vector<std::uint8_t> Bytes() const;
    void Write(const std::string& path) const;

private:
    struct Event {
        std::uint32_t tick;
        int order;
        std::vector<std::uint8_t> bytes;
    };
    void Add(std::uint32_t tick, std::vector<std::uint8_t> bytes);

    int division_;
    std::uint32_t end_ = 0;
    std::vector<Event> events_;
};
