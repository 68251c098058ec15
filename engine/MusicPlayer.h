#pragma once
#include "platform/dmusic/DMusic.h"

// The DirectMusic loader, performance and segment of the music thread (used by it alone).
// Every track change stops and tears everything down; the next load builds it again.
class MusicPlayer {
public:
    MusicPlayer() = default;
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    bool Init();
    bool Load(const char* path);
    HRESULT Play(MUSIC_TIME start, MUSIC_TIME loopStart, MUSIC_TIME loopEnd, LONG volume, std::uint8_t loopForever);
    void Stop();
    void ReleaseAll();

private:
    IDirectMusicLoader8* loader = nullptr;
    IDirectMusicPerformance8* performance = nullptr;
    IDirectMusicSegment8* segment = nullptr;
};
