// Device creation (quick and checked), loss, reset and the screen-mode switch.
#include "engine/Application.h"
#include "engine/DeviceCheck.h"
#include "engine/ErrorReporter.h"
#include "engine/GraphicsEngine.h"

void GraphicsEngine::FillPresentParameters(const D3DDISPLAYMODE& displayMode)
{
    windowedPresentParameters = D3DPRESENT_PARAMETERS{};
    windowedPresentParameters.BackBufferFormat = D3DFMT_UNKNOWN;
    windowedPresentParameters.BackBufferCount = 1;
    windowedPresentParameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    windowedPresentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    windowedPresentParameters.hDeviceWindow = g_mainWindow;
    windowedPresentParameters.Windowed = TRUE;
    windowedPresentParameters.EnableAutoDepthStencil = FALSE;
    windowedPresentParameters.AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    windowedPresentParameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    fullScreenPresentParameters = windowedPresentParameters;
    fullScreenPresentParameters.BackBufferWidth = 640;
    fullScreenPresentParameters.BackBufferHeight = 480;
    fullScreenPresentParameters.BackBufferFormat = displayMode.Format;
    fullScreenPresentParameters.Windowed = FALSE;
}

int GraphicsEngine::CreateDeviceQuick()
{
    D3DDISPLAYMODE displayMode{};
    if (FAILED(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode))) {
        return -2;
    }
    FillPresentParameters(displayMode);
    presentParameters = g_screenMode == 0 ? windowedPresentParameters : fullScreenPresentParameters;
    const struct {
        D3DDEVTYPE type;
        DWORD flags;
    } attempts[] = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
    for (const auto& attempt : attempts) {
        if (SUCCEEDED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, g_mainWindow, attempt.flags,
                                             &presentParameters, &device))) {
            return 0;
        }
    }
    return -3;
}

int GraphicsEngine::CreateDeviceChecked()
{
    DeviceCheck check(direct3D);
    UINT adapter = 0;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    if (FAILED(check.Check(&adapter, &deviceType))) {
        return -2;
    }
    check.GetPresentParameters(&windowedPresentParameters, &fullScreenPresentParameters);
    presentParameters = g_screenMode == 0 ? windowedPresentParameters : fullScreenPresentParameters;
    if (SUCCEEDED(direct3D->CreateDevice(adapter, deviceType, g_mainWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                         &presentParameters, &device))) {
        return 0;
    }
    if (SUCCEEDED(direct3D->CreateDevice(adapter, deviceType, g_mainWindow, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                         &presentParameters, &device))) {
        return 0;
    }
    return -3;
}

int GraphicsEngine::OnDeviceLost()
{
    if (depthSurface) {
        depthSurface->Release();
        depthSurface = nullptr;
    }
    if (sprite) {
        sprite->OnLostDevice();
    }
    if (font) {
        font->OnLostDevice();
    }
    return 0;
}

HRESULT GraphicsEngine::ResetDevice()
{
    return device->Reset(&presentParameters);
}

int GraphicsEngine::RestoreObjects()
{
    HRESULT result = CreateDepthBuffer();
    if (FAILED(result)) {
        return result;
    }
    SetupTextureStages();
    if (sprite) {
        sprite->OnResetDevice();
    }
    if (font) {
        font->OnResetDevice();
    }
    ResetDrawState();
    device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS,
                           presentParameters.MultiSampleType != D3DMULTISAMPLE_NONE ? TRUE : FALSE);
    if (g_fogEnabled) {
        SetupFog(2.0f, 9.0f, 0x80E0FFFFu);
    }
    return 0;
}

bool GraphicsEngine::ChangeScreenMode()
{
    OnDeviceLost();
    if (g_screenMode == 0) {
        presentParameters = windowedPresentParameters;
        // The window still covers the screen while the device is reset, so "the client area"
        // would be the screen: the back buffer takes the size of the picture instead.
        if (presentParameters.BackBufferWidth == 0 || presentParameters.BackBufferHeight == 0) {
            presentParameters.BackBufferWidth = 640;
            presentParameters.BackBufferHeight = 480;
        }
    } else {
        presentParameters = fullScreenPresentParameters;
        ::GetWindowRect(g_mainWindow, &windowRect);
    }
    HRESULT result = device->Reset(&presentParameters);
    if (result == D3DERR_DEVICELOST) {
        // The lost-device path finishes the reset with these parameters once it can.
        g_deviceLost = 1;
        return true;
    }
    if (FAILED(result)) {
        if (g_errorReporter) {
            g_errorReporter->Report(ErrorStringId::ModeChangeResetFailed, result);
        }
        return false;
    }
    result = RestoreObjects();
    if (FAILED(result)) {
        if (g_errorReporter) {
            g_errorReporter->Report(ErrorStringId::ModeChangeObjectsFailed, result);
        }
        return false;
    }
    if (g_screenMode == 0) {
        SetWindowLongA(g_mainWindow, GWL_STYLE, static_cast<LONG>(WS_VISIBLE | WS_CAPTION | WS_SYSMENU));
        SetWindowPos(g_mainWindow, HWND_NOTOPMOST, windowRect.left, windowRect.top, windowRect.right - windowRect.left,
                     windowRect.bottom - windowRect.top, SWP_SHOWWINDOW);
        // The saved rectangle is the window's outer one only when it was taken from the window;
        // after a full-screen start it is the picture's size, and a window manager's frame would
        // be cut from it. The client area goes back to the back buffer's size, as at start-up:
        // the picture is then shown one to one, never scaled inside its own window.
        FitClientArea(g_mainWindow, static_cast<int>(presentParameters.BackBufferWidth),
                      static_cast<int>(presentParameters.BackBufferHeight));
    } else {
        SetWindowLongA(g_mainWindow, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    }
    return true;
}

void GraphicsEngine::SetupTextureStages()
{
    // Texture times vertex colour, for colour and alpha.
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}
