#include "platform/mfc/CWinApp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
