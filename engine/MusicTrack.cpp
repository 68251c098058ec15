#include "engine/MusicTrack.h"

namespace {

constexpr MusicTrackEntry kTracks[kLastMusicTrack] = {
    {"Music\\no.32.mid", 0, 0, 0, 0, 1},
    {"Music\\no.29.mid", 0, 0, 0, 0, 0},
    {"Music\\no.34.mid", 0, 0, 0, 0, 0},
    {"Music\\no.39.mid", 0, 0, 0, 0, 0},
    {"Music\\no.58.mid", 0, 0, 0, 0, 0},
    {"Music\\no.60.mid", 0, 11100, 17000, 0, 1},
    {"Music\\no.44.mid", 0, 0, 0, 0, 0},
};

}  // namespace

const MusicTrackEntry* FindMusicTrack(int track)
{
    if (track < kFirstMusicTrack || track > kLastMusicTrack) {
        return nullptr;
    }
    return &kTracks[track - kFirstMusicTrack];
}
