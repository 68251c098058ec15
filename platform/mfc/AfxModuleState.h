#pragma once
// The program module's state: its current application object and its resource handle.
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Window.h"

class CWinApp;

struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
};

AFX_MODULE_STATE* AfxGetModuleState();
CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();
