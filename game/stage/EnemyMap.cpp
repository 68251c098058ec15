#include "game/stage/EnemyMap.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/MusicController.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32.h"

namespace {

constexpr std::uint8_t kMusicCode = 0x80;
// A row a second of 16 bytes: a map of this size would play for days.
constexpr std::size_t kMaxMapBytes = 16u << 20;

// "<current folder>/emap/emap<stage>_<level>.bin", or nothing when the folder's name does not
// fit: a cut name would open another file.
bool MapFilePath(int stage, int level, std::string& path)
{
    char folder[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) {
        return false;
    }
    char buffer[MAX_PATH + 48];
    std::snprintf(buffer, sizeof(buffer), "%s/emap/emap%d_%d.bin", folder, stage, level);
    path = buffer;
    return true;
}

}  // namespace

const EnemyMap::Handler EnemyMap::kHandlers[2] = {&EnemyMap::Load, &EnemyMap::Scroll};

EnemyMap::EnemyMap()
{
    type = TaskType::None;
}

EnemyMap* EnemyMap::Create(int priority)
{
    return InsertNew<EnemyMap>(priority);
}

void EnemyMap::Exec()
{
    (this->*kHandlers[phase])();
}

void EnemyMap::Load()
{
    if (ReadFile(1, g_sceneManager->GetLevel())) {
        phase = 1;
    } else {
        g_taskList->Kill(this);
    }
}

bool EnemyMap::ReadFile(int stage, int level)
{
    queue.clear();
    std::string path;
    // Only a regular file of a sane size is a map: a pipe or folder in its place, or a read that
    // fails part way, is a failed load like a missing file.
    std::vector<unsigned char> bytes;
    if (!MapFilePath(stage, level, path) || !ReadRegularFile(Win32HostPath(path.c_str()), kMaxMapBytes, &bytes)) {
        if (g_errorReporter) {
            g_errorReporter->Report(ErrorStringId::EnemyMapLoadFailed, 0);
        }
        return false;
    }
    queue.assign(bytes.begin(), bytes.end());
    return true;
}

void EnemyMap::Scroll()
{
    scrollAccum += g_frameTime * scrollSpeed;
    if (scrollAccum < kRowPixels) {
        return;
    }
    scrollAccum = 0.0f;  // the excess is dropped: a row comes a little more than a second apart
    if (queue.empty()) {
        g_taskList->Kill(this);
        return;
    }
    int columns = static_cast<int>(std::min<std::size_t>(queue.size(), kCellsPerRow));
    std::size_t taken = 0;
    for (int c = 0; c < columns; ++c) {
        if (queue.size() - taken < 2) {
            taken = queue.size();  // a lone last byte is dropped; the next row time ends the map
            break;
        }
        std::uint8_t code = queue[taken];
        std::uint8_t param = queue[taken + 1];
        taken += 2;
        if (code == kMusicCode) {
            RequestMusic(param);
        } else if (code != 0 && code < kMusicCode) {
            SpawnCell(code, param, static_cast<float>(128 + 32 * c));
        }
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(taken));
}

void EnemyMap::RequestMusic(int param)
{
    g_musicController->RequestTrack(param);
}
