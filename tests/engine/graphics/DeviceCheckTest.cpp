// Device creation: the quick way, the full check and its failure messages, present parameters.
#include "engine/Application.h"
#include "engine/DeviceCheck.h"
#include "engine/ErrorReporter.h"
#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/support/OwnRuntimeFolder.h"

namespace {

// The game lock's mutex stays in a folder of the test program's own.
OwnRuntimeFolder g_runtime;

using DeviceCheckTest = GraphicsFixture;

TEST_F(DeviceCheckTest, QuickWayWithAWorkingHalDeviceRunsNoCheck)
{
    ASSERT_EQ(Start(D3D9AdapterAnswers{}, 0, 0), 0);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(D3D9CreateDeviceLog().size(), 1u);
    EXPECT_EQ(D3D9CreateDeviceLog()[0].type, D3DDEVTYPE_HAL);
    EXPECT_EQ(D3D9CreateDeviceLog()[0].flags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
    const auto& pp = engine->GetPresentParameters();
    EXPECT_EQ(pp.Windowed, TRUE);
    EXPECT_EQ(pp.EnableAutoDepthStencil, FALSE);
    EXPECT_EQ(pp.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(pp.BackBufferWidth, 640u) << "the client area, filled in by the device";
    EXPECT_EQ(pp.BackBufferHeight, 480u);
    const auto& full = engine->GetFullScreenPresentParameters();
    EXPECT_EQ(full.BackBufferWidth, 640u);
    EXPECT_EQ(full.BackBufferHeight, 480u);
    EXPECT_EQ(full.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(full.Windowed, FALSE);
    EXPECT_EQ(engine->GetWindowedPresentParameters().BackBufferWidth, 0u);
    EXPECT_NE(engine->GetDepthSurface(), nullptr);
}

TEST_F(DeviceCheckTest, QuickWayFallsBackThroughSoftwareAndReference)
{
    struct Case {
        std::vector<std::pair<D3DDEVTYPE, DWORD>> failing;
        D3DDEVTYPE type;
        DWORD flags;
        std::size_t attempts;
    } cases[] = {
        {{{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING}}, D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING, 2},
        {{{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING}, {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING}},
         D3DDEVTYPE_REF,
         D3DCREATE_SOFTWARE_VERTEXPROCESSING,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attempts);
        D3D9AdapterAnswers answers;
        answers.failingCreates = c.failing;
        ASSERT_EQ(Start(answers), 0);
        ASSERT_EQ(D3D9CreateDeviceLog().size(), c.attempts);
        EXPECT_EQ(D3D9CreateDeviceLog().back().type, c.type);
        EXPECT_EQ(D3D9CreateDeviceLog().back().flags, c.flags);
        EXPECT_EQ(D3D9CreateDeviceLog().back().result, D3D_OK);
        TearDown();
        SetUp();
    }
}

TEST_F(DeviceCheckTest, FullScreenCheckTakesTheModeNearest640By480)
{
    struct Case {
        std::vector<D3DDISPLAYMODE> modes;
        UINT width, height;
    } cases[] = {
        {{{1024, 768, 60, D3DFMT_X8R8G8B8}, {640, 480, 60, D3DFMT_X8R8G8B8}}, 640, 480},
        {{{1024, 768, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_X8R8G8B8}}, 800, 600},
        {{{700, 480, 60, D3DFMT_X8R8G8B8}, {580, 480, 60, D3DFMT_X8R8G8B8}}, 700, 480},  // a tie: first wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        D3D9AdapterAnswers answers;
        answers.modes = c.modes;
        ASSERT_EQ(Start(answers, 1, 1), 0);
        const auto& pp = engine->GetPresentParameters();
        EXPECT_EQ(pp.Windowed, FALSE);
        EXPECT_EQ(pp.BackBufferWidth, c.width);
        EXPECT_EQ(pp.BackBufferHeight, c.height);
        EXPECT_EQ(pp.EnableAutoDepthStencil, TRUE);
        EXPECT_EQ(pp.AutoDepthStencilFormat, D3DFMT_D24S8);
        EXPECT_EQ(pp.FullScreen_RefreshRateInHz, 0u);
        EXPECT_TRUE(messages.empty());
        TearDown();
        SetUp();
    }
}

TEST_F(DeviceCheckTest, FailingStepsReportTheirMessage)
{
    struct Case {
        const char* name;
        void (*change)(D3D9AdapterAnswers&);
        int id;
    } cases[] = {
        {"caps short on both", [](D3D9AdapterAnswers& a) { a.halCaps.MaxStreams = 2; a.refCaps.MaxVertexIndex = 100; }, 116},
        {"display mode", [](D3D9AdapterAnswers& a) { a.displayModeResult = D3DERR_NOTAVAILABLE; }, 117},
        {"back buffer", [](D3D9AdapterAnswers& a) { a.backBufferFormats = {D3DFMT_A8R8G8B8}; }, 118},
        {"depth", [](D3D9AdapterAnswers& a) { a.depthFormats = {D3DFMT_D16}; }, 119},
        {"render texture", [](D3D9AdapterAnswers& a) { a.renderTextureFormats = {D3DFMT_A8R8G8B8}; }, 120},
        {"no modes", [](D3D9AdapterAnswers& a) { a.modes.clear(); }, 122},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        D3D9AdapterAnswers answers;
        c.change(answers);
        EXPECT_EQ(Start(answers, 0, 1), -2);
        EXPECT_EQ(ReportedIds(), std::vector<int>{c.id});
        EXPECT_TRUE(D3D9CreateDeviceLog().empty());
        TearDown();
        SetUp();
    }
}

TEST_F(DeviceCheckTest, ShortHalCapsFallBackToReferenceSilently)
{
    D3D9AdapterAnswers answers;
    answers.halCaps.MaxPrimitiveCount = 1000;
    ASSERT_EQ(Start(answers, 0, 1), 0);
    EXPECT_TRUE(messages.empty());
    ASSERT_FALSE(D3D9CreateDeviceLog().empty());
    EXPECT_EQ(D3D9CreateDeviceLog().back().type, D3DDEVTYPE_REF);
}

TEST_F(DeviceCheckTest, CapabilityLimitsAreTestedInOrder)
{
    struct Case {
        D3DCAPS9 caps;
        HRESULT result;
    } cases[] = {
        {{D3DDEVTYPE_HAL, 0, 65535, 65535, 3}, 0},
        {{D3DDEVTYPE_HAL, 0, 0, 0, 2}, -1},
        {{D3DDEVTYPE_HAL, 0, 65534, 0, 3}, -2},
        {{D3DDEVTYPE_HAL, 0, 65535, 65534, 3}, -3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DeviceCheck::CheckDeviceCaps(c.caps), c.result);
    }
}

TEST_F(DeviceCheckTest, QuickFailureFallsToTheCheckAndBestMultiSampleIsTaken)
{
    D3D9AdapterAnswers answers;
    answers.failingCreates = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                              {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                              {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
    answers.multiSample = {{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_2_SAMPLES, 3}};
    // Quick way fails, then the check's creations: HAL hardware fails again, HAL software too.
    EXPECT_EQ(Start(answers, 0, 0), -3);
    ASSERT_EQ(D3D9CreateDeviceLog().size(), 5u);
    EXPECT_EQ(D3D9CreateDeviceLog()[3].parameters.MultiSampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(D3D9CreateDeviceLog()[3].parameters.MultiSampleQuality, 2u);
    EXPECT_EQ(D3D9CreateDeviceLog()[3].parameters.EnableAutoDepthStencil, TRUE);
}

TEST_F(DeviceCheckTest, NoDirect3DGivesMinusOneAndGameInitReportsBothMessages)
{
    D3D9AdapterAnswers answers;
    answers.createFails = true;
    D3D9SetAdapterAnswers(answers);
    ASSERT_TRUE(InitInstance(nullptr, SW_SHOWNORMAL));
    EXPECT_EQ(GameInit(), -2);
    EXPECT_EQ(ReportedIds(), (std::vector<int>{105, 123}));
    EXPECT_NE(messages[0].find("err_code=-1"), std::string::npos);
    GameEnd();
    EXPECT_EQ(g_graphicsEngine, nullptr);
    g_errorReporter = new ErrorReporter(1);  // GameEnd deleted it
}

}  // namespace
