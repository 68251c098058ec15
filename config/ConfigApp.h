#pragma once
// The configuration tool's application: one modal settings dialog, then the program ends.
#include "platform/mfc/Afx.h"

class ConfigApp : public CWinApp {
public:
    ConfigApp();
    ~ConfigApp() override;

    BOOL InitInstance() override;

    int screenMode = 0;        // 0 window, 1 full screen
    bool deviceCheck = false;  // detailed device check on
    bool fogEnabled = true;

    DECLARE_MESSAGE_MAP()
};

extern ConfigApp g_configApp;

// EnumWindows callback: restores and raises the running tool's dialog, stopping at it.
BOOL CALLBACK FindRunningConfigWindow(HWND window, LPARAM lParam);
