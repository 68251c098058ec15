#pragma once
// The drawing context of a window while it paints (inside WM_PAINT).
#include "platform/mfc/MfcWin32.h"

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* window);
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    // Null when the window is not being painted: drawing then does nothing.
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    HDC m_hDC = nullptr;
};
