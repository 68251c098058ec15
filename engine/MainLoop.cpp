#include "engine/Application.h"
#include "engine/EngineTestHooks.h"
#include "engine/ErrorReporter.h"
#include "engine/GraphicsEngine.h"
#include "engine/Input.h"
#include "engine/SceneControl.h"
#include "platform/winmm/WinMM.h"

namespace {

// Pacing state kept between calls.
bool s_pacingStarted = false;
DWORD s_lastFrameTime = 0;
int s_frameCounter = 0;

}  // namespace

void ResetFramePacing()
{
    s_pacingStarted = false;
    s_lastFrameTime = 0;
    s_frameCounter = 0;
}

void MainLoop()
{
    std::uint8_t skipDraw = 0;
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (RestoreLostDevice()) {
            skipDraw = 0;
            if (PaceFrame(skipDraw)) {
                RunFrame(skipDraw);
            }
        } else {
            // Nothing to run while the window is in the background: wait for its messages
            // without spinning.
            Sleep(1);
        }
    }
}

bool RestoreLostDevice()
{
    // While the window is inactive the game does not advance at all.
    if (!g_graphicsEngine || !g_graphicsEngine->GetDirect3D() || !g_graphicsEngine->GetDevice() ||
        g_windowActive != 1) {
        return false;
    }
    if (g_deviceLost == 0) {
        return true;
    }
    Sleep(100);
    HRESULT result = g_graphicsEngine->GetDevice()->TestCooperativeLevel();
    if (result == D3DERR_DEVICELOST) {
        return false;  // try again on a later pass
    }
    if (result == D3DERR_DEVICENOTRESET) {
        g_graphicsEngine->OnDeviceLost();
        result = g_graphicsEngine->ResetDevice();
        if (result == D3DERR_DEVICELOST) {
            return false;
        }
        if (FAILED(result)) {
            if (g_errorReporter) {
                g_errorReporter->Report(ErrorStringId::DeviceResetFailed, result);
            }
            DestroyWindow(g_mainWindow);
            return false;
        }
        result = g_graphicsEngine->RestoreObjects();
        if (FAILED(result)) {
            if (g_errorReporter) {
                g_errorReporter->Report(ErrorStringId::DeviceObjectsFailed, result);
            }
            DestroyWindow(g_mainWindow);
            return false;
        }
    } else if (FAILED(result)) {
        DestroyWindow(g_mainWindow);
        return false;
    }
    g_deviceLost = 0;
    return true;
}

bool PaceFrame(std::uint8_t& skipDraw)
{
    if (!s_pacingStarted) {
        s_lastFrameTime = timeGetTime();
        s_pacingStarted = true;
    }
    // Unsigned difference: the wrap of the millisecond counter does no harm.
    float elapsed = static_cast<float>(static_cast<DWORD>(timeGetTime() - s_lastFrameTime));
    if (elapsed < 16.0f) {
        Sleep(static_cast<DWORD>(16.0f - elapsed));
        return false;
    }
    s_lastFrameTime = timeGetTime();
    g_fps = 1000.0f / elapsed;
    // The game always advances by one fixed step, whatever time really passed.
    g_frameTime = 0.016f;
    if (s_frameCounter % 4 != 0 && g_fps < 45.0f) {
        skipDraw = 1;
    }
    if (++s_frameCounter == 60) {
        s_frameCounter = 0;
    }
    return true;
}

void RunFrame(std::uint8_t skipDraw)
{
    // Paused, no task runs: the frame is the paused picture shown again and a look at S. A
    // reported error still ends the game.
    if (g_sceneControl && g_sceneControl->IsPaused()) {
        if (g_sceneControl->IsQuitRequested()) {
            g_sceneControl->SetPaused(false);
        } else if (!Input::ReadResumeKey()) {
            if (g_graphicsEngine) {
                g_graphicsEngine->ShowHeldPicture();
            }
            return;
        }
        if (g_graphicsEngine) {
            g_graphicsEngine->ReleaseHeldPicture();
        }
    }
    if (skipDraw) {
        // Every task updates, nothing reaches the screen.
        if (g_graphicsEngine) {
            g_graphicsEngine->SetDrawEnabled(false);
        }
        if (g_sceneControl) {
            g_sceneControl->Run();
        }
        // A pause that began in an undrawn frame keeps the last picture drawn.
        if (g_graphicsEngine && g_sceneControl && g_sceneControl->IsPaused()) {
            g_graphicsEngine->HoldPicture();
        }
        return;
    }
    if (g_graphicsEngine) {
        g_graphicsEngine->SetDrawEnabled(true);
        g_graphicsEngine->Render();
    }
}
