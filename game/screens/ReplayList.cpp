#include "game/screens/ReplayList.h"

#include <cstdio>
#include <cstring>

#include "engine/GraphicsEngine.h"
#include "game/scenes/SceneManager.h"
#include "platform/win32/Win32.h"

namespace {
// The name a slot shows when its file cannot be opened.
constexpr const char* kNoReplay = "None";
}  // namespace

const ReplayList::Handler ReplayList::kHandlers[4] = {&ReplayList::Prompt, &ReplayList::Load, &ReplayList::List,
                                                      &ReplayList::Idle};

ReplayList::ReplayList()
{
    type = TaskType::Screen;
}

std::string ReplayList::FileName(int slot)
{
    char folder[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) {
        return {};
    }
    char buffer[MAX_PATH + 32];
    std::snprintf(buffer, sizeof(buffer), "%s/replay/rep%02d.rep", folder, slot);
    return buffer;
}

void ReplayList::Exec()
{
    keys.Read();
    (this->*kHandlers[phase])();
}

void ReplayList::DrawCursor() const
{
    g_graphicsEngine->DrawSprite(260, 252 + 26 * cursor, 6, 0, 56, 16, 16);
}

void ReplayList::Prompt()
{
    DrawCursor();
    if (keys.z == KeyState::Pressed) {
        if (cursor == 0) {
            phase = 1;
        } else {
            g_sceneManager->SetNextScene(SceneState::Title);
        }
    } else if (keys.x == KeyState::Pressed) {
        g_sceneManager->SetNextScene(SceneState::Title);
    } else if (keys.left == KeyState::Pressed || keys.right == KeyState::Pressed) {
        cursor = 1 - cursor;
    }
}

void ReplayList::Load()
{
    for (int slot = 0; slot < kSlots; ++slot) {
        char* name = names[slot];
        std::memset(name, 0, kNameBytes);
        std::string path = FileName(slot);
        HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                                   : CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::strcpy(name, kNoReplay);
            continue;
        }
        DWORD read = 0;
        ReadFile(file, name, kNameBytes, &read, nullptr);
        CloseHandle(file);
        // A name without its zero byte is cut to the first 63 characters.
        name[kNameBytes - 1] = '\0';
    }
    phase = 2;
}

void ReplayList::List()
{
    for (int slot = 0; slot < kSlots; ++slot) {
        g_graphicsEngine->DrawText(280, 252 + 26 * slot, names[slot], 0xFFFFFFFFu);
    }
    DrawCursor();
    if (keys.z == KeyState::Pressed) {
        Choose();
    } else if (keys.x == KeyState::Pressed) {
        g_sceneManager->SetNextScene(SceneState::Title);
    } else if (keys.up == KeyState::Pressed) {
        cursor = cursor == 0 ? kSlots - 1 : cursor - 1;
    } else if (keys.down == KeyState::Pressed) {
        cursor = cursor == kSlots - 1 ? 0 : cursor + 1;
    }
}

void ReplayList::Idle() {}

void ReplayList::Choose()
{
    // An empty slot (its missing-file name, or a file that names itself "NONE") has nothing to
    // play: the list stays. Any other slot leaves the list for the idle state, where playback
    // would run; there is no replay player.
    const char* name = names[cursor];
    if (std::strcmp(name, kNoReplay) == 0 || std::strcmp(name, "NONE") == 0) {
        return;
    }
    phase = 3;
}
