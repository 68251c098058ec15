#pragma once
// Where a sequencer sends its channel messages and asks for sound.
#include <cstdint>

class MidiSink {
public:
    virtual ~MidiSink() = default;
    // One channel message (status with channel, then its data bytes).
    virtual void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // Renders the next frames of sound into interleaved stereo (overwrites out).
    virtual void Synthesize(float* out, int frames) = 0;
};
