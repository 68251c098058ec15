#include "tests/engine/audio/MidiFixture.h"

#include <algorithm>
#include <fstream>

void MidiFixture::Add(std::uint32_t tick, std::vector<std::uint8_t> bytes)
{
    events_.push_back({tick, static_cast<int>(events_.size()), std::move(bytes)});
}

void MidiFixture::Tempo(std::uint32_t tick, std::uint32_t us)
{
    Add(tick, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
               static_cast<std::uint8_t>(us)});
}

void MidiFixture::Program(std::uint32_t tick, int channel, int program)
{
    Add(tick, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)});
}

void MidiFixture::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity)
{
    Add(tick, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
               static_cast<std::uint8_t>(velocity)});
    // Note-offs as note-ons of velocity 0, as many files write them.
    Add(tick + length, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key), 0});
}

std::vector<std::uint8_t> MidiFixture::Bytes() const
{
    std::vector<Event> sorted = events_;
    // At one tick, note-offs go first so that a note ending where the next starts is released.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick) {
            return a.tick < b.tick;
        }
        bool offA = (a.bytes[0] & 0xF0) == 0x90 && a.bytes[2] == 0;
        bool offB = (b.bytes[0] & 0xF0) == 0x90 && b.bytes[2] == 0;
        return offA && !offB;
    });
    std::vector<std::uint8_t> track;
    std::uint32_t last = 0;
    auto varLen = [&](std::uint32_t v) {
        std::uint8_t buf[5];
        int n = 0;
        buf[n++] = v & 0x7F;
        while (v >>= 7) {
            buf[n++] = static_cast<std::uint8_t>((v & 0x7F) | 0x80);
        }
        while (n) {
            track.push_back(buf[--n]);
        }
    };
    for (const Event& e : sorted) {
        varLen(e.tick - last);
        last = e.tick;
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    varLen(std::max(end_, last) - last);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    out.push_back(static_cast<std::uint8_t>(division_ >> 8));
    out.push_back(static_cast<std::uint8_t>(division_));
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    std::uint32_t n = static_cast<std::uint32_t>(track.size());
    out.insert(out.end(), {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                           static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

void MidiFixture::Write(const std::string& path) const
{
    auto bytes = Bytes();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
