#pragma once
// One entry of a ranking table, as it lies in the score block: 20 bytes, packed, little-endian.
#include <cstdint>

#pragma pack(push, 1)
struct ScoreEntry {
    char name[9];  // NUL-terminated
    std::uint32_t score;
    std::uint32_t count;
    std::uint8_t spare;
    std::uint8_t reserved[2];
};
#pragma pack(pop)

static_assert(sizeof(ScoreEntry) == 20);
