// The picture as the X server shows it through the OpenGL device, in a window and full screen,
// after each F5, with either way of creating the device.
#include <chrono>
#include <sstream>
#include <thread>

#include "engine/Application.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/engine/graphics/TestImages.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/XvfbDisplay.h"

namespace {

constexpr std::uint32_t kClear = 0xFF204060u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

struct ModeCase {
    const char* name;
    int startMode;    // SCREEN_MODE
    int deviceCheck;  // DEVICECHECK
};

void PrintTo(const ModeCase& c, std::ostream* out)
{
    *out << c.name;
}

class ScreenModeTest : public GraphicsFixture, public ::testing::WithParamInterface<ModeCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(XvfbDisplay::Ensure());
        GraphicsFixture::SetUp();
    }

    // The 640x480 picture: a white 32x32 square in each corner on the clear colour.
    void DrawFrame()
    {
        IDirect3DDevice9* device = engine->GetDevice();
        engine->SetClearColor(kClear);
        engine->Render();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0);
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        engine->ResetDrawState();
        for (auto [x, y] : {std::pair{0, 0}, {608, 0}, {0, 448}, {608, 448}}) {
            engine->DrawSprite(x, y, 0, 0, 0, 32, 32);
        }
        device->EndScene();
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }

    // Where the screen must show the picture: the client area one to one in a window; full
    // screen, scaled by the largest factor that fits, centred, with black bars.
    struct Placement {
        int left, top, width, height;
    };
    static Placement Expected(int screenMode, const ScreenCapture& screen)
    {
        if (screenMode == 0) {
            POINT origin{0, 0};
            ClientToScreen(g_mainWindow, &origin);
            return {origin.x, origin.y, 640, 480};
        }
        double scale = std::min(screen.width / 640.0, screen.height / 480.0);
        int w = int(640 * scale + 0.5), h = int(480 * scale + 0.5);
        return {(screen.width - w) / 2, (screen.height - h) / 2, w, h};
    }

    // What differs between the screen and the expected picture; empty when nothing does.
    static std::string Differences(const ScreenCapture& screen, const Placement& p)
    {
        std::ostringstream out;
        if (screen.width == 0) {
            return "the screen cannot be read";
        }
        auto expect = [&](double px, double py, std::uint32_t colour, const char* what) {
            int x = p.left + int(px * p.width / 640.0), y = p.top + int(py * p.height / 480.0);
            if (x < 0 || y < 0 || x >= screen.width || y >= screen.height || screen.At(x, y) != colour) {
                out << what << " at picture (" << px << ", " << py << ") screen (" << x << ", " << y << "): "
                    << std::hex << (x >= 0 && y >= 0 && x < screen.width && y < screen.height ? screen.At(x, y) : 0)
                    << std::dec << "; ";
            }
        };
        for (auto [x, y] : {std::pair{16.0, 16.0}, {624.0, 16.0}, {16.0, 464.0}, {624.0, 464.0}}) {
            expect(x, y, kWhite, "corner square");
        }
        for (auto [x, y] : {std::pair{48.0, 48.0}, {592.0, 48.0}, {48.0, 432.0}, {592.0, 432.0}, {320.0, 240.0}}) {
            expect(x, y, kClear, "clear colour");
        }
        if (p.top > 1) {
            expect(320.0, -480.0 * 2 / p.height, kBlack, "bar above");
            expect(320.0, 480.0 + 480.0 * 1 / p.height, kBlack, "bar below");
        }
        if (p.left > 1 && p.width != 640) {
            expect(-640.0 * 2 / p.width, 240.0, kBlack, "bar at the left");
        }
        return out.str();
    }

    // Draws and reads the screen until it shows the picture (the X server may take a moment to
    // follow the window's new place); the differences of the last look.
    std::string LookAtScreen(int screenMode)
    {
        std::string differences;
        for (int attempt = 0; attempt < 40; ++attempt) {
            Pump();
            DrawFrame();
            ScreenCapture screen = ScreenCapture::Take();
            differences = Differences(screen, Expected(screenMode, screen));
            if (differences.empty()) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return differences;
    }
};

TEST_P(ScreenModeTest, PictureIsWholeAfterStartAndEachF5)
{
    const ModeCase& c = GetParam();
    ASSERT_EQ(Start(std::nullopt, c.startMode, c.deviceCheck), 0);
    ASSERT_EQ(Recorder(), nullptr) << "the OpenGL device";
    ASSERT_TRUE(WriteBmp(Path("white.bmp"), TestImage::Filled(32, 32, kWhite)));
    ASSERT_TRUE(engine->LoadTexture(0, "white.bmp", 0));

    for (int step = 0; step < 3; ++step) {
        if (step > 0) {
            Win32InjectKey(g_mainWindow, VK_F5, true);
            Win32InjectKey(g_mainWindow, VK_F5, false);
            Pump();
        }
        int mode = c.startMode ^ (step % 2);
        SCOPED_TRACE(::testing::Message() << "after " << step << " F5, " << (mode ? "full screen" : "window"));
        ASSERT_EQ(g_screenMode, mode);
        ASSERT_TRUE(messages.empty());
        D3DPRESENT_PARAMETERS running = D3D9DeviceParameters(engine->GetDevice());
        EXPECT_EQ(running.BackBufferWidth, 640u);
        EXPECT_EQ(running.BackBufferHeight, 480u);
        EXPECT_EQ(running.Windowed, mode == 0 ? TRUE : FALSE);
        D3DVIEWPORT9 viewport{};
        engine->GetDevice()->GetViewport(&viewport);
        EXPECT_EQ(viewport.Width, 640u) << "the backdrop covers the picture, no more";
        EXPECT_EQ(viewport.Height, 480u);
        EXPECT_EQ(LookAtScreen(mode), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ScreenModeTest,
                         ::testing::Values(ModeCase{"WindowQuickDevice", 0, 0}, ModeCase{"WindowCheckedDevice", 0, 1},
                                           ModeCase{"FullScreenQuickDevice", 1, 0},
                                           ModeCase{"FullScreenCheckedDevice", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
