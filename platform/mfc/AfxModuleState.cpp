#include "platform/mfc/AfxModuleState.h"


AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE state;
    return &state;
}

CWinApp* AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

HINSTANCE AfxGetResourceHandle()
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (!state->m_hCurrentResourceHandle) {
        state->m_hCurrentResourceHandle = GetModuleHandleA(nullptr);
    }
    return state->m_hCurrentResourceHandle;
}
