#pragma once
#include <cstdint>

#include "platform/dmusic/DMusic.h"

// The music tracks by number, with how each is played. Times are music times (768 per quarter
// note); volume is the master volume in hundredths of a decibel, 0 full.
enum class MusicTrack : int {
    Title = 1,
    Stage = 2,
    StageLevel3 = 3,
    MapTrack4 = 4,
    MapTrack5 = 5,
    StageClear = 6,
    GameOver = 7,
};

struct MusicTrackEntry {
    const char* file;  // relative to the search directory (the program's folder)
    MUSIC_TIME start;
    MUSIC_TIME loopStart;
    MUSIC_TIME loopEnd;
    LONG volume;
    std::uint8_t loopForever;  // 0: the segment's own repeat count
};

constexpr int kFirstMusicTrack = 1;
constexpr int kLastMusicTrack = 7;

// The entry of a track number, or null outside 1..7.
const MusicTrackEntry* FindMusicTrack(int track);
