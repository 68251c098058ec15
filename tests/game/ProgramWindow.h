// The program's start-up up to its window, as WinMain runs it, for tests and benchmarks that then
// call GameInit themselves: strings, window class, error reporter, a window with fog on and no
// detailed device check, the program's folder current.
#pragma once

#include <cstring>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/ErrorStringId.h"
#include "platform/win32/Win32.h"

inline bool OpenProgramWindow()
{
    RegisterProgramStrings();
    std::memset(g_appTitle, 0, sizeof(g_appTitle));
    LoadStringA(nullptr, 101, g_appTitle, 256);
    LoadStringA(nullptr, 102, g_windowClassName, 256);
    RegisterMainWindowClass(nullptr);
    g_errorReporter = new ErrorReporter(1);
    g_screenMode = 0;
    g_deviceCheckMode = 0;
    g_fogEnabled = 1;
    SetExeFolderCurrent();
    return InitInstance(nullptr, SW_SHOWNORMAL);
}
