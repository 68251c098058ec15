#pragma once
// The application object: one per program, whose InitInstance does the program's work.
#include "platform/mfc/CCmdTarget.h"

class CWnd;

// The framework's help command.
constexpr UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The settings in the INI file named by m_pszProfileName.
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);

    HICON LoadIcon(UINT id) const;

    // The help command: the program ships no help file, so there is nothing to show.
    void OnHelp();

    LPCSTR m_pszAppName = nullptr;      // owned, from malloc
    LPCSTR m_pszProfileName = nullptr;  // owned, from malloc; relative names are in the current folder
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
};

// The framework's start: runs the application's InitInstance and returns the program's result
// (0 after a normal end, or the negative code InitInstance ended with).
int AfxWinMain();
