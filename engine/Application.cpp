#include "engine/Application.h"

#include <cstring>
#include <new>

#include "engine/ErrorReporter.h"

char g_appTitle[256];
char g_windowClassName[256];
float g_frameTime;
float g_fps;
int g_screenMode;
int g_deviceCheckMode;
std::uint8_t g_fogEnabled;
HINSTANCE g_instance;
HWND g_mainWindow;
std::uint8_t g_windowActive;
std::uint8_t g_deviceLost;

namespace {

void ZeroApplicationRecord()
{
    std::memset(g_appTitle, 0, sizeof(g_appTitle));
    std::memset(g_windowClassName, 0, sizeof(g_windowClassName));
    g_frameTime = 0.0f;
    g_fps = 0.0f;
    g_screenMode = 0;
    g_deviceCheckMode = 0;
    g_fogEnabled = 0;
    g_instance = nullptr;
    g_mainWindow = nullptr;
    g_windowActive = 0;
    g_deviceLost = 0;
}

}  // namespace

BOOL FindRunningGameWindow(HWND window, LPARAM)
{
    if (!GetPropA(window, "KarnTamoWindow")) {
        return TRUE;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(GetLastActivePopup(window));
    return FALSE;
}

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "IDI_MAIN");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = g_appTitle;
    windowClass.lpszClassName = g_windowClassName;
    RegisterClassA(&windowClass);
}

void FitClientArea(HWND window, int width, int height)
{
    RECT outer{}, client{};
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) {
        return;
    }
    int wider = width - (client.right - client.left);
    int taller = height - (client.bottom - client.top);
    if (wider != 0 || taller != 0) {
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + wider, outer.bottom - outer.top + taller,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool InitInstance(HINSTANCE instance, int showCommand)
{
    g_instance = instance;
    HWND window;
    if (g_screenMode) {
        window = CreateWindowExA(0, g_windowClassName, g_appTitle, WS_POPUP | WS_SYSMENU, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 instance, nullptr);
    } else {
        window = CreateWindowExA(0, g_windowClassName, g_appTitle, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
        if (window) {
            FitClientArea(window, 640, 480);
        }
    }
    if (!window) {
        return false;
    }
    SetPropA(window, "KarnTamoWindow", reinterpret_cast<HANDLE>(1));
    g_mainWindow = window;
    g_windowActive = 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return true;
}

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    HANDLE instanceMutex = CreateMutexA(nullptr, TRUE, "KarnTamoInstance");
    if (!instanceMutex) {
        return -1;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        EnumWindows(FindRunningGameWindow, 0);
        CloseHandle(instanceMutex);
        return -2;
    }
    ZeroApplicationRecord();
    LoadStringA(instance, static_cast<UINT>(ErrorStringId::AppTitle), g_appTitle, 256);
    LoadStringA(instance, static_cast<UINT>(ErrorStringId::WindowClassName), g_windowClassName, 256);
    RegisterMainWindowClass(instance);

    g_errorReporter = new (std::nothrow) ErrorReporter(1);
    if (!g_errorReporter) {
        CloseHandle(instanceMutex);
        return 0;
    }
    LoadSettings();
    if (!InitInstance(instance, showCommand)) {
        g_errorReporter->Report(ErrorStringId::InitInstanceFailed, 0);
        delete g_errorReporter;
        g_errorReporter = nullptr;
        CloseHandle(instanceMutex);
        return 0;
    }
    int result = GameInit();
    if (result != 0) {
        g_errorReporter->Report(ErrorStringId::GameInitFailed, result);
        GameEnd();
        CloseHandle(instanceMutex);
        return 0;
    }
    MainLoop();
    GameEnd();
    CloseHandle(instanceMutex);
    SaveSettings();
    return 1;
}
