// The stage's map file: read, then released row by row with every cell's factory in place.
#include "engine/Application.h"
#include "engine/MusicController.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/stage/EnemyMap.h"
#include "tests/fuzz/FuzzCurrentFolder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

int g_spawned = 0;

Task* Kind(int, int, float, float)
{
    ++g_spawned;
    return nullptr;
}

Task* Boss(int, int)
{
    ++g_spawned;
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool ready = [] {
        g_taskList = new TaskList;
        g_musicController = new MusicController;
        g_soundEffectBank = new SoundEffectBank;  // the warning banner raises its sound's flag
        for (auto& factory : EnemyMap::kindFactories) {
            factory = Kind;
        }
        EnemyMap::bossFactory = Boss;
        g_frameTime = 0.016f;
        return true;
    }();
    (void)ready;
    FuzzCurrentFolder inScratch;
    WriteFuzzInput("emap/emap1_0.bin", data, size);
    EnemyMap* map = EnemyMap::Create(0);
    FuzzCheck(map->ReadFile(1, 0), "a regular map file is read");
    FuzzCheck(map->queue.size() == size, "every byte is queued");
    map->phase = 1;
    map->scrollSpeed = 32.0f / 0.016f;  // a row every frame
    while (!map->queue.empty()) {
        map->Scroll();
    }
    g_taskList->KillAllLive();
    return 0;
}
