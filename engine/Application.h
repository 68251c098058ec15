#pragma once
#include <cstdint>

#include "platform/win32/Win32.h"

// The application record: zeroed as a whole by WinMain before anything else.
extern char g_appTitle[256];
extern char g_windowClassName[256];
extern float g_frameTime;  // seconds of the current frame step
extern float g_fps;        // measured rate of the last frame
extern int g_screenMode;       // 0 windowed, 1 full screen
extern int g_deviceCheckMode;  // 0 quick device creation first, 1 full device check
extern std::uint8_t g_fogEnabled;
extern HINSTANCE g_instance;
extern HWND g_mainWindow;
extern std::uint8_t g_windowActive;  // frames run only while the main window is active
extern std::uint8_t g_deviceLost;

int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
BOOL FindRunningGameWindow(HWND window, LPARAM lParam);
void RegisterMainWindowClass(HINSTANCE instance);
bool InitInstance(HINSTANCE instance, int showCommand);
// Sizes a framed window, where it is, so that its client area is width x height however large
// the window manager's frame.
void FitClientArea(HWND window, int width, int height);
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ToggleScreenMode();

void SetExeFolderCurrent();
void GetSettingsFilePath(int size, char* out);
void LoadSettings();
void SaveSettings();

int GameInit();
void GameEnd();
void MainLoop();
bool RestoreLostDevice();
bool PaceFrame(std::uint8_t& skipDraw);
void RunFrame(std::uint8_t skipDraw);
