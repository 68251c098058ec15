#pragma once
// A menu of the framework, wrapping a menu handle.
#include "platform/mfc/MfcWin32.h"

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    // The object for the handle (one per handle, kept for the handle's life), or null for null.
    static CMenu* FromHandle(HMENU menu);
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
};
