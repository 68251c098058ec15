#pragma once
#include <cstdint>

// Asks the music thread for a track by number. The request lives in two globals guarded by the
// game lock; the music thread looks at them every 500 ms.
class MusicController {
public:
    MusicController() = default;
    virtual ~MusicController() = default;

    // Any thread. A request equal to the last one is ignored; 0 or a number above 7 stops the music.
    void RequestTrack(int track);
};

extern MusicController* g_musicController;
extern int g_musicRequest;
extern std::uint8_t g_musicRequestPending;
