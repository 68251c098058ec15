#include <cstdio>
#include <cstring>

#include "engine/Application.h"

// Host paths can be far longer than the platform's 260 characters; a path that does not fit
// would otherwise be cut or lost.
constexpr DWORD kPathBuffer = 4096;

void SetExeFolderCurrent()
{
    char path[kPathBuffer];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path)) {
        return;  // no usable program path: stay in the current folder
    }
    char* slash = std::strrchr(path, '\\');
    if (!slash) {
        return;
    }
    slash[1] = 0;
    SetCurrentDirectoryA(path);
}

void GetSettingsFilePath(int size, char* out)
{
    char folder[kPathBuffer];
    DWORD n = GetCurrentDirectoryA(sizeof(folder), folder);
    if (n == 0 || n >= sizeof(folder)) {
        // No folder to name: the file is still the one in the current folder.
        std::snprintf(out, static_cast<std::size_t>(size), "%s.ini", g_appTitle);
        return;
    }
    std::snprintf(out, static_cast<std::size_t>(size), "%s\\%s.ini", folder, g_appTitle);
}

void LoadSettings()
{
    SetExeFolderCurrent();
    char path[kPathBuffer + 300];
    GetSettingsFilePath(sizeof(path), path);
    int screenMode = static_cast<int>(GetPrivateProfileIntA("MODE", "SCREEN_MODE", 0, path));
    g_screenMode = (screenMode == 0 || screenMode == 1) ? screenMode : 0;
    int deviceCheck = static_cast<int>(GetPrivateProfileIntA("MODE", "DEVICECHECK", 0, path));
    g_deviceCheckMode = (deviceCheck == 0 || deviceCheck == 1) ? deviceCheck : 0;
    g_fogEnabled = GetPrivateProfileIntA("MODE", "FOG", 1, path) == 1 ? 1 : 0;
}

void SaveSettings()
{
    char path[kPathBuffer + 300];
    GetSettingsFilePath(sizeof(path), path);
    char value[16];
    std::snprintf(value, sizeof(value), "%d", g_screenMode);
    WritePrivateProfileStringA("MODE", "SCREEN_MODE", value, path);
    std::snprintf(value, sizeof(value), "%d", g_deviceCheckMode);
    WritePrivateProfileStringA("MODE", "DEVICECHECK", value, path);
    std::snprintf(value, sizeof(value), "%d", g_fogEnabled == 1 ? 1 : 0);
    WritePrivateProfileStringA("MODE", "FOG", value, path);
}
