// A second process for the cross-process tests: holds a named mutex and a window with a
// property until it is told to quit (the file named by its third argument appears) or for ten
// seconds at most. With the one argument "shared-folder" it prints the folder that the
// processes of its user share.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/win32/Win32.h"
#include "platform/win32/WindowRecord.h"

namespace {

LRESULT ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "shared-folder") {
        std::printf("%s\n", win32::SharedFolder().c_str());
        return 0;
    }
    if (argc < 4) {
        return 2;
    }
    HANDLE mutex = CreateMutexA(nullptr, TRUE, argv[1]);
    if (!mutex) {
        return 5;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return 3;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = "Probe";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "Probe", "probe", WS_CAPTION | WS_SYSMENU, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    if (!window) {
        return 4;
    }
    SetPropA(window, argv[2], reinterpret_cast<HANDLE>(1));
    ShowWindow(window, SW_SHOWNORMAL);
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0; i < 10000; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        struct stat st;
        if (stat(argv[3], &st) == 0) {
            break;
        }
        Sleep(1);
    }
    DestroyWindow(window);
    CloseHandle(mutex);
    return 0;
}
