#include "platform/mfc/CWinApp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/mfc/AfxModuleState.h"

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName)
{
    if (appName) {
        m_pszAppName = strdup(appName);
    }
    AfxGetModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp()
{
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszProfileName));
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (state->m_pCurrentWinApp == this) {
        state->m_pCurrentWinApp = nullptr;
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue)
{
    return GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    return WritePrivateProfileStringA(section, entry, text, m_pszProfileName);
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(static_cast<WORD>(id)));
}

void CWinApp::OnHelp()
{
}

namespace {

// The program's file name without its folder and extension.
std::string ModuleBaseName()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return "";
        }
        if (n < path.size()) {
            break;
        }
        path.resize(path.size() * 2);
    }
    std::string name = path.data();
    std::size_t slash = name.find_last_of('\\');
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

}  // namespace

int AfxWinMain()
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    CWinApp* app = state->m_pCurrentWinApp;
    if (!app) {
        return -1;
    }
    state->m_hCurrentInstanceHandle = GetModuleHandleA(nullptr);
    state->m_hCurrentResourceHandle = state->m_hCurrentInstanceHandle;
    app->m_hInstance = state->m_hCurrentInstanceHandle;
    std::string base = ModuleBaseName();
    if (!app->m_pszAppName) {
        app->m_pszAppName = strdup(base.c_str());
    }
    // Until the program names its own, the settings go to "<program>.INI" in the current folder.
    if (!app->m_pszProfileName) {
        app->m_pszProfileName = strdup((base + ".INI").c_str());
    }
    BOOL started = app->InitInstance();
    int code = app->ExitInstance();
    // Only modal dialogs exist here, so there is no message loop to run after InitInstance: a
    // negative result is the code the program ends with, anything else ends it normally.
    return started < 0 ? started : code;
}
