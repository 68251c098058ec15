// The frame, device loss and restore through the main loop, and the F5 screen-mode switch.
#include <algorithm>

#include "engine/Application.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/engine/graphics/GraphicsFixture.h"

namespace {

class DeviceLossTest : public GraphicsFixture {
protected:
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& call : Recorder()->calls) {
            names.push_back(call.name);
        }
        return names;
    }

    int FogStatesSet() const
    {
        int count = 0;
        for (const auto& call : Recorder()->Named("SetRenderState")) {
            for (D3DRENDERSTATETYPE fog : {D3DRS_FOGENABLE, D3DRS_FOGCOLOR, D3DRS_FOGTABLEMODE, D3DRS_FOGVERTEXMODE,
                                           D3DRS_FOGSTART, D3DRS_FOGEND}) {
                count += call.args[0] == double(fog);
            }
        }
        return count;
    }
};

TEST_F(DeviceLossTest, FrameClearsBracketsTheSceneAndPresents)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    engine->SetClearColor(0xFF203040u);
    Recorder()->ClearCalls();
    engine->Render();
    EXPECT_EQ(Names(), (std::vector<std::string>{"SetTransform", "SetTransform", "SetLight", "LightEnable", "Clear",
                                                 "BeginScene", "SetTransform", "EndScene", "Present"}));
    const auto& calls = Recorder()->calls;
    EXPECT_EQ(calls[0].args[0], double(D3DTS_PROJECTION));
    EXPECT_EQ(calls[1].args[0], double(D3DTS_VIEW));
    EXPECT_EQ(calls[4].args, (std::vector<double>{0, 0, 3, double(0xFF203040u), 1.0, 0}));
    EXPECT_EQ(calls[6].args[0], double(D3DTS_WORLD));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(calls[6].args[1 + i], i % 5 == 0 ? 1.0 : 0.0) << "the world matrix is the identity";
    }
    // Light and camera as set up by Init3D.
    EXPECT_EQ(calls[2].args, (std::vector<double>{0, D3DLIGHT_DIRECTIONAL, 1.0, -1.5, 2.0, 1, 1, 1, 0, 0.2f, 0.2f,
                                                  0.2f, 0}));
    EXPECT_EQ(g_deviceLost, 0);
}

TEST_F(DeviceLossTest, FailedBeginSceneSkipsTheTasksButStillPresents)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    engine->GetDevice()->BeginScene();  // a second BeginScene fails
    Recorder()->ClearCalls();
    engine->Render();
    auto names = Names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "EndScene"), 0);
    EXPECT_EQ(names.back(), "Present");
}

TEST_F(DeviceLossTest, LostDeviceIsRestoredOnceItCanBeReset)
{
    for (int fog : {0, 1}) {
        SCOPED_TRACE(fog);
        g_fogEnabled = static_cast<std::uint8_t>(fog);
        ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
        ASSERT_EQ(g_windowActive, 1);
        EXPECT_EQ(FogStatesSet(), fog ? 6 : 0) << "at start-up";
        IDirect3DDevice9* device = engine->GetDevice();
        EXPECT_TRUE(RestoreLostDevice());

        D3D9ForceDeviceLoss(device, true);
        engine->Render();
        EXPECT_EQ(g_deviceLost, 1);
        EXPECT_FALSE(RestoreLostDevice()) << "not yet resettable";
        EXPECT_EQ(g_deviceLost, 1);

        D3D9ReleaseDeviceLossHold(device);
        Recorder()->ClearCalls();
        EXPECT_TRUE(RestoreLostDevice());
        EXPECT_EQ(g_deviceLost, 0);
        auto names = Names();
        ASSERT_GE(names.size(), 4u);
        EXPECT_EQ(names[0], "TestCooperativeLevel");
        EXPECT_EQ(names[1], "Reset");
        EXPECT_EQ(names[2], "CreateDepthStencilSurface");
        EXPECT_EQ(names[3], "SetDepthStencilSurface");
        EXPECT_EQ(Recorder()->Named("SetTextureStageState").size(), 6u);
        EXPECT_EQ(FogStatesSet(), fog ? 6 : 0) << "after the reset";
        EXPECT_EQ(D3D9LiveDefaultPoolObjects(device), 1) << "the new depth surface";
        EXPECT_TRUE(IsWindow(g_mainWindow));
        TearDown();
        SetUp();
    }
}

TEST_F(DeviceLossTest, ResetRefusedWhileADefaultPoolObjectLivesEndsTheProgram)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    IDirect3DSurface9* kept = engine->GetDepthSurface();
    kept->AddRef();  // outlives OnDeviceLost
    D3D9ForceDeviceLoss(engine->GetDevice(), false);
    g_deviceLost = 1;
    EXPECT_FALSE(RestoreLostDevice());
    EXPECT_EQ(ReportedIds(), std::vector<int>{112});
    EXPECT_FALSE(IsWindow(g_mainWindow));
    g_mainWindow = nullptr;
    kept->Release();
}

TEST_F(DeviceLossTest, F5SwitchesToFullScreenAndBackToTheFormerWindowRectangle)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    RECT before{};
    GetWindowRect(g_mainWindow, &before);
    Win32InjectKey(g_mainWindow, VK_F5, true);
    Pump();
    EXPECT_EQ(g_screenMode, 1);
    EXPECT_EQ(engine->GetPresentParameters().Windowed, FALSE);
    EXPECT_EQ(D3D9DeviceParameters(engine->GetDevice()).BackBufferWidth, 640u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(g_mainWindow, GWL_STYLE)), WS_POPUP | WS_VISIBLE);
    const RECT& saved = engine->GetWindowRect();
    EXPECT_EQ(saved.left, before.left);
    EXPECT_EQ(saved.right - saved.left, before.right - before.left);
    EXPECT_NE(engine->GetDepthSurface(), nullptr);

    Win32InjectKey(g_mainWindow, VK_F5, true);
    Pump();
    EXPECT_EQ(g_screenMode, 0);
    EXPECT_EQ(engine->GetPresentParameters().Windowed, TRUE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(g_mainWindow, GWL_STYLE)), WS_VISIBLE | WS_CAPTION | WS_SYSMENU);
    RECT after{};
    GetWindowRect(g_mainWindow, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_TRUE(messages.empty());
}

TEST_F(DeviceLossTest, SwitchWhileTheDeviceCannotBeResetIsLeftToTheLostPath)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    LONG style = GetWindowLongA(g_mainWindow, GWL_STYLE);
    D3D9ForceDeviceLoss(engine->GetDevice(), true);
    g_screenMode = 1;
    EXPECT_TRUE(engine->ChangeScreenMode());
    EXPECT_EQ(g_deviceLost, 1);
    EXPECT_EQ(GetWindowLongA(g_mainWindow, GWL_STYLE), style);
    EXPECT_TRUE(messages.empty());
    // Once possible, the lost path resets with the full-screen parameters.
    D3D9ReleaseDeviceLossHold(engine->GetDevice());
    EXPECT_TRUE(RestoreLostDevice());
    EXPECT_EQ(D3D9DeviceParameters(engine->GetDevice()).Windowed, FALSE);
}

TEST_F(DeviceLossTest, FailedResetDuringASwitchIsReportedAndClosesTheWindow)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    IDirect3DSurface9* kept = engine->GetDepthSurface();
    kept->AddRef();
    Win32InjectKey(g_mainWindow, VK_F5, true);
    Pump();
    EXPECT_EQ(ReportedIds(), std::vector<int>{114});
    EXPECT_FALSE(IsWindow(g_mainWindow));
    g_mainWindow = nullptr;
    kept->Release();
}

TEST_F(DeviceLossTest, FirstSwitchFromAFullScreenStartPlacesTheWindowAtTheOrigin)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}, 1), 0);
    EXPECT_EQ(engine->GetPresentParameters().Windowed, FALSE);
    g_screenMode = 0;
    ASSERT_TRUE(engine->ChangeScreenMode());
    RECT r{};
    GetWindowRect(g_mainWindow, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
}

TEST_F(DeviceLossTest, FullScreenDeviceIsLostWhenTheWindowLosesTheFocus)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}, 1), 0);
    IDirect3DDevice9* device = engine->GetDevice();
    Win32InjectActivate(g_mainWindow, false);
    Pump();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    engine->Render();
    EXPECT_EQ(g_deviceLost, 1);
    Win32InjectActivate(g_mainWindow, true);
    Pump();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_TRUE(RestoreLostDevice());
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

}  // namespace
