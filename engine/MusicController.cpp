#include "engine/MusicController.h"

#include "engine/GameLock.h"

MusicController* g_musicController = nullptr;
int g_musicRequest = 0;
std::uint8_t g_musicRequestPending = 0;

void MusicController::RequestTrack(int track)
{
    if (!g_gameLock) {
        return;
    }
    g_gameLock->Lock(INFINITE, true);
    if (track != g_musicRequest) {
        g_musicRequestPending = 1;
        g_musicRequest = track;
    }
    g_gameLock->Unlock();
}
