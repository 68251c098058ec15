#include "platform/dmusic/MidiFile.h"

#include <algorithm>

#include "platform/win32/RegularFile.h"

namespace {

std::uint32_t Be32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

std::uint16_t Be16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// A variable-length quantity of at most four bytes, all within the track.
bool ReadVarLen(const std::uint8_t* data, std::size_t size, std::size_t& pos, std::uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= size) {
            return false;
        }
        std::uint8_t b = data[pos++];
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            return true;
        }
    }
    return false;
}

int DataBytes(std::uint8_t status)
{
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    default:
        return 2;
    }
}

}  // namespace

bool MidiFile::LoadFile(const std::string& hostPath)
{
    // A piece of music is some tens of KiB; a far larger file is not one.
    constexpr std::size_t kMaxMidiFileBytes = 16u << 20;
    std::vector<std::uint8_t> bytes;
    return ReadRegularFile(hostPath, kMaxMidiFileBytes, &bytes) && Parse(bytes);
}

bool MidiFile::Parse(const std::vector<std::uint8_t>& bytes)
{
    events_.clear();
    length_ = 0;
    const std::uint8_t* p = bytes.data();
    std::size_t size = bytes.size();
    if (size < 14 || std::string(reinterpret_cast<const char*>(p), 4) != "MThd") {
        return false;
    }
    std::uint32_t headerLength = Be32(p + 4);
    if (headerLength < 6 || headerLength > size - 8) {
        return false;
    }
    int format = Be16(p + 8);
    int tracks = Be16(p + 10);
    int division = Be16(p + 12);
    // Time-code divisions and independent-sequence files (format 2) are not music a segment plays.
    if (format > 1 || tracks == 0 || (division & 0x8000) || division == 0) {
        return false;
    }
    division_ = division;
    std::size_t pos = 8 + std::size_t(headerLength);
    int found = 0;
    while (found < tracks && pos + 8 <= size) {
        std::uint32_t chunkLength = Be32(p + pos + 4);
        if (chunkLength > size - pos - 8) {
            return false;
        }
        if (std::string(reinterpret_cast<const char*>(p + pos), 4) == "MTrk") {
            if (!ParseTrack(p + pos + 8, chunkLength)) {
                return false;
            }
            ++found;
        }
        pos += 8 + std::size_t(chunkLength);
    }
    if (found != tracks) {
        return false;
    }
    // Same-tick events keep their order within a track; tracks follow one another.
    std::stable_sort(events_.begin(), events_.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
    return true;
}

bool MidiFile::ParseTrack(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (pos < size) {
        std::uint32_t delta;
        if (!ReadVarLen(data, size, pos, delta) || pos >= size) {
            return false;
        }
        tick += delta;
        if (tick > 0x7FFFFFFF) {
            return false;
        }
        std::uint8_t status = data[pos];
        if (status == 0xFF) {
            if (pos + 2 > size) {
                return false;
            }
            std::uint8_t type = data[pos + 1];
            pos += 2;
            std::uint32_t length;
            if (!ReadVarLen(data, size, pos, length) || length > size - pos) {
                return false;
            }
            if (type == 0x51 && length == 3) {
                std::uint32_t tempo = (std::uint32_t(data[pos]) << 16) | (data[pos + 1] << 8) | data[pos + 2];
                if (tempo > 0) {
                    events_.push_back({static_cast<std::uint32_t>(tick), 0xFF, 0, 0, tempo});
                }
            }
            pos += length;
            if (type == 0x2F) {
                break;
            }
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            ++pos;
            std::uint32_t length;
            if (!ReadVarLen(data, size, pos, length) || length > size - pos) {
                return false;
            }
            pos += length;
            continue;
        }
        if (status & 0x80) {
            if (status > 0xEF) {
                return false;  // system common messages do not belong in a file
            }
            running = status;
            ++pos;
        } else if (running == 0) {
            return false;
        }
        int n = DataBytes(running);
        if (pos + n > size) {
            return false;
        }
        std::uint8_t d1 = data[pos] & 0x7F;
        std::uint8_t d2 = n == 2 ? data[pos + 1] & 0x7F : 0;
        pos += n;
        events_.push_back({static_cast<std::uint32_t>(tick), running, d1, d2, 0});
    }
    length_ = std::max<std::uint32_t>(length_, static_cast<std::uint32_t>(tick));
    return true;
}
