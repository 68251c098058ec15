#include "game/scenes/ResourceLoaderThread.h"

#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/ThreadStartSignal.h"
#include "game/scenes/SceneManager.h"
#include "game/scenes/TextureSlotMap.h"

namespace {

ThreadStartSignal s_started;

// One pass over every shared file; throws the path of the first file that fails.
void LoadPass()
{
    for (const TextureSlotFile& t : kSharedTextures) {
        if (!g_graphicsEngine->LoadTexture(t.slot, t.file, t.colourKey)) {
            throw t.file;
        }
    }
    for (int id = 0; id < kSoundEffectCount; ++id) {
        const char* file = kSoundEffectFiles[id];
        if (!g_soundEffectBank->LoadWave(static_cast<SoundEffectId>(id), file)) {
            throw file;
        }
    }
}

}  // namespace

void ResourceLoaderThread(void*)
{
    GameLock* lock = g_gameLock;
    lock->Lock(INFINITE, true);
    lock->AddThread();
    lock->Unlock();
    s_started.Signal();

    int tries = 0;
    for (;;) {
        const char* failed = nullptr;
        try {
            LoadPass();
        } catch (const char* file) {
            failed = file;
        }
        if (!failed) {
            lock->Lock(INFINITE, true);
            g_sceneManager->SetResourcesLoaded(true);
            lock->Unlock();
            break;
        }
        if (tries >= 3) {
            g_errorReporter->ReportText(ErrorStringId::FileLoadFailed, failed);
            break;
        }
        ++tries;
    }

    lock->Lock(INFINITE, true);
    lock->RemoveThread();
    lock->Unlock();
}

void WaitUntilResourceLoaderCounted()
{
    s_started.Wait();
}
