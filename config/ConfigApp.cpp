#include "config/ConfigApp.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/ConfigResources.h"
#include "config/SettingsDialog.h"

ConfigApp g_configApp;

namespace {

constexpr char kSection[] = "MODE";

// The program's full file name, however long.
std::string ModuleFileName()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) {
            return std::string(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(ConfigApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

ConfigApp::ConfigApp() : CWinApp()
{
    RegisterConfigResources();
}

ConfigApp::~ConfigApp() = default;

BOOL CALLBACK FindRunningConfigWindow(HWND window, LPARAM)
{
    if (!GetPropA(window, "TamoConfigWindow")) {
        return TRUE;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(GetLastActivePopup(window));
    return FALSE;
}

BOOL ConfigApp::InitInstance()
{
    // One copy at a time; the mutex stays held until the tool's work is done, and the program
    // ends when this returns.
    HANDLE instanceMutex = CreateMutexA(nullptr, TRUE, "TamoConfigInstance");
    if (!instanceMutex) {
        return -1;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        EnumWindows(FindRunningConfigWindow, 0);
        CloseHandle(instanceMutex);
        return -2;
    }

    InitCommonControls();
    CWinApp::InitInstance();

    // The settings file lives beside the program, which works in its own folder.
    std::string folder = ModuleFileName();
    std::size_t slash = folder.find_last_of('\\');
    folder.erase(slash == std::string::npos ? 0 : slash + 1);
    SetCurrentDirectoryA(folder.c_str());
    std::string settingsPath = folder + "Pellmoor.ini";
    std::free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = strdup(settingsPath.c_str());

    screenMode = GetProfileInt(kSection, "SCREEN_MODE", 0) != 0 ? 1 : 0;
    deviceCheck = GetProfileInt(kSection, "DEVICECHECK", 0) != 0;
    fogEnabled = GetProfileInt(kSection, "FOG", 1) != 0;

    SettingsDialog dialog;
    m_pMainWnd = &dialog;
    INT_PTR result = dialog.DoModal();
    m_pMainWnd = nullptr;  // the dialog ends with this scope

    if (result == IDOK) {
        WriteProfileInt(kSection, "SCREEN_MODE", screenMode);
        WriteProfileInt(kSection, "DEVICECHECK", deviceCheck ? 1 : 0);
        WriteProfileInt(kSection, "FOG", fogEnabled ? 1 : 0);
    }
    CloseHandle(instanceMutex);
    return FALSE;
}
