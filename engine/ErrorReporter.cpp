#include "engine/ErrorReporter.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/Application.h"
#include "engine/GameLock.h"
#include "engine/SceneControl.h"
#include "platform/win32/Win32.h"

ErrorReporter* g_errorReporter = nullptr;

ErrorReporter::ErrorReporter(int mode) : mode(mode) {}

void ErrorReporter::Report(ErrorStringId id, int code)
{
    if (mode <= 0) {
        return;
    }
    char text[256];
    LoadStringA(g_instance, static_cast<UINT>(id), text, 255);
    if (code == 0) {
        Show(text);
        return;
    }
    char message[512];
    std::snprintf(message, sizeof(message), "%s : err_code=%d", text, code);
    Show(message);
}

void ErrorReporter::ReportText(ErrorStringId id, const char* detail)
{
    if (mode <= 0) {
        return;
    }
    char text[256];
    LoadStringA(g_instance, static_cast<UINT>(id), text, 255);
    std::string cut = detail ? std::string(detail).substr(0, 31) : std::string();
    char message[512];
    std::snprintf(message, sizeof(message), "%s : %s", text, cut.c_str());
    Show(message);
}

void ErrorReporter::Show(const char* message)
{
    if (mode & 1) {
        MessageBoxA(g_mainWindow, message, "エラー", MB_OK);
    }
    if (g_sceneControl) {
        GameLock* lock = g_gameLock;
        if (lock) {
            lock->Lock(INFINITE, true);
        }
        g_sceneControl->RequestQuit();
        if (lock) {
            lock->Unlock();
        }
    }
}
