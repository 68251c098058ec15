#include "tests/engine/graphics/GraphicsFixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "platform/win32/Win32TestHooks.h"

void GraphicsFixture::SetUp()
{
    char pattern[] = "/tmp/graphics_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    messages.clear();
    ASSERT_EQ(chdir(folder.c_str()), 0);
    RegisterProgramStrings();
    LoadStringA(nullptr, 101, g_appTitle, 256);
    LoadStringA(nullptr, 102, g_windowClassName, 256);
    RegisterMainWindowClass(nullptr);
    Win32SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
        messages.push_back(text);
        return 1;
    });
    g_errorReporter = new ErrorReporter(1);
    g_deviceLost = 0;
    D3D9CreateDeviceLog().clear();
}

void GraphicsFixture::TearDown()
{
    delete engine;
    engine = nullptr;
    g_graphicsEngine = nullptr;
    if (g_mainWindow) {
        DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
        Pump();
    }
    delete g_errorReporter;
    g_errorReporter = nullptr;
    Win32SetMessageBoxHook({});
    D3D9SetAdapterAnswers(std::nullopt);
    g_screenMode = 0;
    g_deviceCheckMode = 0;
    g_fogEnabled = 0;
    g_deviceLost = 0;
    chdir("/");
    std::filesystem::remove_all(folder);
}

int GraphicsFixture::Start(std::optional<D3D9AdapterAnswers> answers, int screenMode, int deviceCheckMode)
{
    D3D9SetAdapterAnswers(answers);
    g_screenMode = screenMode;
    g_deviceCheckMode = deviceCheckMode;
    if (!InitInstance(nullptr, SW_SHOWNORMAL)) {
        return -100;
    }
    Pump();
    engine = new GraphicsEngine;
    g_graphicsEngine = engine;
    int result = engine->Init3D();
    engine->SetDrawEnabled(true);
    return result;
}

RecordingDevice* GraphicsFixture::Recorder() const
{
    return engine ? RecordingDevice::From(engine->GetDevice()) : nullptr;
}

std::vector<int> GraphicsFixture::ReportedIds() const
{
    std::vector<int> ids;
    for (const auto& message : messages) {
        for (int id = 101; id <= 126; ++id) {
            char text[256] = {};
            LoadStringA(nullptr, static_cast<UINT>(id), text, 255);
            if (text[0] && message.rfind(text, 0) == 0) {
                ids.push_back(id);
                break;
            }
        }
    }
    return ids;
}

void GraphicsFixture::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
