#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SceneControl.h"

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        if (g_sceneControl) {
            g_sceneControl->OnWindowDestroyed();
        }
        PostQuitMessage(0);
        break;
    case WM_ACTIVATE:
        g_windowActive = LOWORD(wParam) != 0 ? 1 : 0;
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        } else if (wParam == VK_F5) {
            ToggleScreenMode();
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ToggleScreenMode()
{
    g_screenMode = g_screenMode == 0 ? 1 : 0;
    if (g_graphicsEngine && g_graphicsEngine->GetDevice() && !g_graphicsEngine->ChangeScreenMode()) {
        DestroyWindow(g_mainWindow);
    }
}
