#include "engine/MusicThread.h"

#include <new>

#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/MusicController.h"
#include "engine/MusicPlayer.h"
#include "engine/MusicTrack.h"
#include "engine/ThreadStartSignal.h"
#include "engine/SceneControl.h"

namespace {
ThreadStartSignal s_started;
}  // namespace

void WaitUntilMusicThreadCounted()
{
    s_started.Wait();
}

void MusicThread(void*)
{
    GameLock* lock = g_gameLock;
    lock->Lock(INFINITE, true);
    lock->AddThread();
    lock->Unlock();
    s_started.Signal();
    CoInitialize(nullptr);

    MusicPlayer* player = new (std::nothrow) MusicPlayer;
    if (!player) {
        if (g_errorReporter) {
            g_errorReporter->Report(ErrorStringId::MusicObjectFailed, 0);
        }
    } else if (player->Init()) {
        lock->Lock(INFINITE, true);
        if (g_sceneControl) {
            g_sceneControl->SetMusicReady(true);
        }
        lock->Unlock();

        for (;;) {
            lock->Lock(INFINITE, true);
            if (lock->IsQuitRequested()) {
                lock->Unlock();
                break;
            }
            lock->Unlock();
            Sleep(kMusicPollMs);
            lock->Lock(INFINITE, true);
            // A quit raised during the sleep wins over a pending request: loading a track only
            // to tear it down again would hold up shut-down.
            if (lock->IsQuitRequested()) {
                lock->Unlock();
                break;
            }
            if (!g_musicRequestPending) {
                lock->Unlock();
                continue;
            }
            g_musicRequestPending = 0;
            int track = g_musicRequest;
            lock->Unlock();
            // DirectMusic is touched only with the lock released.
            player->Stop();
            if (const MusicTrackEntry* entry = FindMusicTrack(track)) {
                if (player->Load(entry->file)) {
                    player->Play(entry->start, entry->loopStart, entry->loopEnd, entry->volume, entry->loopForever);
                }
            }
        }
    }

    delete player;
    CoUninitialize();
    lock->Lock(INFINITE, true);
    lock->RemoveThread();
    lock->Unlock();
    _endthread();
}
