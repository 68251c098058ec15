// Pictures drawn by the OpenGL device, read back from the front buffer.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <functional>
#include <thread>

#include "engine/Application.h"
#include "engine/SpriteBlendMode.h"
#include "platform/d3d9/D3D9TestHooks.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/engine/graphics/TestImages.h"
#include "tests/support/ScreenCapture.h"
#include "tests/support/XvfbDisplay.h"

namespace {

constexpr std::uint32_t kClear = 0xFF204060u;

class PixelTest : public GraphicsFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(XvfbDisplay::Ensure());
        GraphicsFixture::SetUp();
    }

    void StartGl(int screenMode = 0)
    {
        ASSERT_EQ(Start(std::nullopt, screenMode), 0);
        ASSERT_EQ(Recorder(), nullptr) << "the OpenGL device";
        engine->SetClearColor(kClear);
        engine->Render();  // camera and light onto the device
    }

    // One frame as Render draws it, with `draw` in place of the tasks.
    void Frame(const std::function<void()>& draw)
    {
        IDirect3DDevice9* device = engine->GetDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0);
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        device->SetTransform(D3DTS_WORLD, &identity);
        engine->ResetDrawState();
        draw();
        device->EndScene();
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }

    // The whole display as the front buffer shows it.
    TestImage Display()
    {
        D3DDISPLAYMODE mode{};
        engine->GetDirect3D()->GetAdapterDisplayMode(0, &mode);
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(engine->GetDevice()->CreateOffscreenPlainSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8,
                                                                    D3DPOOL_SYSTEMMEM, &surface, nullptr),
                  D3D_OK);
        EXPECT_EQ(engine->GetDevice()->GetFrontBufferData(0, surface), D3D_OK);
        D3DLOCKED_RECT locked{};
        surface->LockRect(&locked, nullptr, 0);
        TestImage image = TestImage::Filled(mode.Width, mode.Height, 0);
        std::memcpy(image.texels.data(), locked.pBits, image.texels.size() * 4);
        surface->UnlockRect();
        surface->Release();
        return image;
    }

    // The back buffer as GetRenderTargetData reads it.
    TestImage BackBuffer()
    {
        IDirect3DDevice9* device = engine->GetDevice();
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* copy = nullptr;
        TestImage image = TestImage::Filled(640, 480, 0);
        EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
        EXPECT_EQ(device->CreateOffscreenPlainSurface(640, 480, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr),
                  D3D_OK);
        EXPECT_EQ(device->GetRenderTargetData(back, copy), D3D_OK);
        D3DLOCKED_RECT locked{};
        copy->LockRect(&locked, nullptr, 0);
        std::memcpy(image.texels.data(), locked.pBits, image.texels.size() * 4);
        copy->UnlockRect();
        copy->Release();
        back->Release();
        return image;
    }

    // A pixel of the window's client area as the X server shows it.
    static std::uint32_t OnScreen(int x, int y)
    {
        ScreenCapture screen = ScreenCapture::Take();
        POINT origin{0, 0};
        ClientToScreen(g_mainWindow, &origin);
        return screen.pixels.empty() ? 0 : screen.At(origin.x + x, origin.y + y);
    }

    // Resizes the window by the given amount, leaving the device as it is.
    static void GrowWindow(int dx, int dy)
    {
        RECT outer{};
        GetWindowRect(g_mainWindow, &outer);
        SetWindowPos(g_mainWindow, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }

    // The 640 x 480 picture in the window's client area.
    TestImage Picture()
    {
        TestImage display = Display();
        POINT origin{0, 0};
        ClientToScreen(g_mainWindow, &origin);
        TestImage picture = TestImage::Filled(640, 480, 0);
        for (unsigned y = 0; y < 480; ++y) {
            for (unsigned x = 0; x < 640; ++x) {
                picture.At(x, y) = display.At(origin.x + x, origin.y + y);
            }
        }
        return picture;
    }
};

int Channel(std::uint32_t c, int shift)
{
    return (c >> shift) & 255;
}

void ExpectNear(std::uint32_t actual, std::uint32_t expected, int tolerance)
{
    for (int shift : {16, 8, 0}) {
        EXPECT_NEAR(Channel(actual, shift), Channel(expected, shift), tolerance)
            << std::hex << actual << " vs " << expected;
    }
}

TEST_F(PixelTest, SpriteTexelsLandOnExactlyTheExpectedPixels)
{
    StartGl();
    TestImage texels = TestImage::Filled(16, 16, 0);
    for (unsigned y = 0; y < 16; ++y) {
        for (unsigned x = 0; x < 16; ++x) {
            texels.At(x, y) = 0xFF000000u | (x * 16 + 8) << 16 | (y * 16 + 8) << 8 | 0x80;
        }
    }
    ASSERT_TRUE(WriteBmp(Path("grid.bmp"), texels));
    ASSERT_TRUE(engine->LoadTexture(0, "grid.bmp", 0));
    Frame([&] {
        engine->DrawSprite(100, 50, 0, 0, 0, 16, 16);
        engine->SetScale(2.0f, 2.0f);
        engine->DrawSprite(300, 200, 0, 4, 4, 8, 8);
    });
    TestImage picture = Picture();
    for (unsigned y = 0; y < 16; ++y) {
        for (unsigned x = 0; x < 16; ++x) {
            ASSERT_EQ(picture.At(100 + x, 50 + y), texels.At(x, y)) << x << "," << y;
        }
    }
    for (auto [x, y] : {std::pair{99, 50}, {116, 50}, {100, 49}, {100, 66}, {115, 66}}) {
        EXPECT_EQ(picture.At(x, y), kClear) << x << "," << y;
    }
    // Scaled twice from the top-left corner: each texel covers 2 x 2 pixels.
    for (unsigned y = 0; y < 16; ++y) {
        for (unsigned x = 0; x < 16; ++x) {
            ASSERT_EQ(picture.At(300 + x, 200 + y), texels.At(4 + x / 2, 4 + y / 2)) << x << "," << y;
        }
    }
    EXPECT_EQ(picture.At(316, 200), kClear);
    EXPECT_EQ(picture.At(300, 216), kClear);
}

TEST_F(PixelTest, TextureLoadedOnAnotherThreadIsUploadedWhenFirstDrawn)
{
    StartGl();
    ASSERT_TRUE(WritePng(Path("worker.png"), TestImage::Filled(8, 8, 0xFF30C050u)));
    bool loaded = false;
    std::thread worker([&] { loaded = engine->LoadTexture(9, "worker.png", 0); });
    Frame([] {});  // the main thread keeps drawing meanwhile
    worker.join();
    ASSERT_TRUE(loaded);
    Frame([&] { engine->DrawSprite(40, 40, 9, 0, 0, 8, 8); });
    EXPECT_EQ(Picture().At(44, 44), 0xFF30C050u);
    // Released on the worker, deleted by the device on its own thread at the next frame.
    std::thread releaser([&] { engine->ReleaseTexture(9); });
    releaser.join();
    Frame([&] { engine->DrawSprite(40, 40, 9, 0, 0, 8, 8); });
    EXPECT_EQ(Picture().At(44, 44), kClear);
}

TEST_F(PixelTest, ColourKeyedTexelsAreTransparent)
{
    StartGl();
    TestImage texels = TestImage::Filled(8, 8, 0xFFFFFF00u);
    texels.At(2, 3) = 0xFF000000u;
    texels.At(5, 5) = 0xFF000000u;
    ASSERT_TRUE(WriteBmp(Path("keyed.bmp"), texels));
    ASSERT_TRUE(engine->LoadTexture(1, "keyed.bmp", 0xFF000000u));
    Frame([&] { engine->DrawSprite(10, 10, 1, 0, 0, 8, 8); });
    TestImage picture = Picture();
    EXPECT_EQ(picture.At(12, 13), kClear);
    EXPECT_EQ(picture.At(15, 15), kClear);
    EXPECT_EQ(picture.At(10, 10), 0xFFFFFF00u);
    EXPECT_EQ(picture.At(13, 13), 0xFFFFFF00u);
}

TEST_F(PixelTest, AdditiveBlendingAddsWhateverTheAlpha)
{
    StartGl();
    ASSERT_TRUE(WriteBmp(Path("dim.bmp"), TestImage::Filled(8, 8, 0xFF102030u)));
    ASSERT_TRUE(engine->LoadTexture(2, "dim.bmp", 0));
    Frame([&] {
        engine->SetBlend(int(SpriteBlendMode::Additive), 0x40FFFFFFu);
        engine->DrawSprite(0, 0, 2, 0, 0, 8, 8);
        engine->SetBlend(int(SpriteBlendMode::Alpha), 0x80FFFFFFu);
        engine->DrawSprite(20, 0, 2, 0, 0, 8, 8);
    });
    TestImage picture = Picture();
    EXPECT_EQ(picture.At(4, 4), 0xFF306090u);
    // Half transparent: halfway between the clear colour and the texel.
    ExpectNear(picture.At(24, 4), 0xFF183048u, 2);
}

// A square facing the camera at view depth `depth`, lit by nothing but its own red glow.
void WriteFacingSquare(const std::string& path, float depth, float half)
{
    // The camera of Init3D: eye (0, 2, -6) looking at the origin, up (0, 1, 0).
    float fx = 0, fy = -2, fz = 6;
    float length = std::sqrt(fy * fy + fz * fz);
    fy /= length;
    fz /= length;
    float ux = 0, uy = fz, uz = -fy;  // up, perpendicular to forward; right is (1, 0, 0)
    auto point = [&](float r, float u) {
        char text[96];
        std::snprintf(text, sizeof text, "%f;%f;%f;", r + depth * fx + u * ux, 2 + depth * fy + u * uy,
                      -6 + depth * fz + u * uz);
        return std::string(text);
    };
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "xof 0303txt 0032\n");
    std::fprintf(f, "Mesh square {\n 4;\n %s,\n %s,\n %s,\n %s;\n", point(-half, half).c_str(),
                 point(half, half).c_str(), point(half, -half).c_str(), point(-half, -half).c_str());
    std::fprintf(f, " 2;\n 3;0,1,2;,\n 3;0,2,3;;\n");
    std::fprintf(f, " MeshMaterialList {\n  1;\n  2;\n  0,\n  0;;\n");
    std::fprintf(f, "  Material {\n   0.000000;0.000000;0.000000;1.000000;;\n   0.000000;\n");
    std::fprintf(f, "   0.000000;0.000000;0.000000;;\n   1.000000;0.000000;0.000000;;\n  }\n }\n");
    std::fprintf(f, " MeshNormals {\n  1;\n  0.000000;%f;%f;;\n  2;\n  3;0,0,0;,\n  3;0,0,0;;\n }\n}\n", -fy, -fz);
    std::fclose(f);
}

TEST_F(PixelTest, MeshTakesTheFogColourByDepth)
{
    g_fogEnabled = 1;
    StartGl();
    struct Case {
        float depth;
        float fog;  // share of the fog colour
    } cases[] = {{1.5f, 0.0f}, {5.5f, 0.5f}, {9.5f, 1.0f}};
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        std::string file = "square" + std::to_string(index) + ".x";
        WriteFacingSquare(Path(file), c.depth, c.depth);
        ASSERT_TRUE(engine->LoadMesh(index, file.c_str(), ""));
        Frame([&] { engine->DrawMesh(0, 0, 0, 0, 0, 0, index); });
        std::uint32_t centre = Picture().At(320, 240);
        // Red glow blended with pale cyan (E0, FF, FF).
        std::uint32_t expected = 0xFF000000u | std::uint32_t(std::lround(255 * (1 - c.fog) + 0xE0 * c.fog)) << 16 |
                                 std::uint32_t(std::lround(0xFF * c.fog)) << 8 | std::uint32_t(std::lround(0xFF * c.fog));
        ExpectNear(centre, expected, 6);
        ++index;
    }
}

TEST_F(PixelTest, TextIsDrawnInItsColourFromTheTopLeftCorner)
{
    StartGl();
    engine->SetClearColor(0xFF000000u);
    IDirect3DDevice9* device = engine->GetDevice();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device->BeginScene();
    engine->DrawText(100, 100, "Now", 0xFFFFFF00u);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    TestImage picture = Picture();
    int lit = 0;
    for (unsigned y = 0; y < 480; ++y) {
        for (unsigned x = 0; x < 640; ++x) {
            std::uint32_t p = picture.At(x, y) & 0xFFFFFF;
            if (p != 0) {
                EXPECT_TRUE(x >= 100 && x < 148 && y >= 100 && y < 116) << x << "," << y;
                EXPECT_EQ(p & 0xFF, 0u) << "yellow text has no blue";
                ++lit;
            }
        }
    }
    EXPECT_GT(lit, 30);
}

TEST_F(PixelTest, ScreenshotIsABitmapOfTheShownPicture)
{
    StartGl();
    ASSERT_TRUE(WriteBmp(Path("a.bmp"), TestImage::Filled(32, 32, 0xFFC08040u)));
    ASSERT_TRUE(engine->LoadTexture(0, "a.bmp", 0));
    Frame([&] { engine->DrawSprite(600, 440, 0, 0, 0, 32, 32); });
    ASSERT_EQ(engine->SaveScreenshot("shot.bmp"), D3D_OK);
    TestImage saved;
    ASSERT_TRUE(ReadBmp(Path("shot.bmp"), &saved));
    TestImage picture = Picture();
    ASSERT_EQ(saved.width, 640u);
    ASSERT_EQ(saved.height, 480u);
    EXPECT_EQ(saved.texels, picture.texels);
    EXPECT_EQ(saved.At(610, 450), 0xFFC08040u);
    EXPECT_EQ(saved.At(0, 0), kClear);
}

// A window of the back buffer's size is drawn into and swapped, with no copy of the picture; a
// window of another size gets the picture scaled into it, and back at the size no copy again.
// Throughout, the screen, the front buffer and the back buffer read after Present agree.
TEST_F(PixelTest, PictureIsCopiedOnlyIntoAWindowOfAnotherSize)
{
    StartGl();
    IDirect3DDevice9* device = engine->GetDevice();
    ASSERT_TRUE(WriteBmp(Path("a.bmp"), TestImage::Filled(32, 32, 0xFFFFFFFFu)));
    ASSERT_TRUE(engine->LoadTexture(0, "a.bmp", 0));
    auto draw = [&] { engine->DrawSprite(64, 64, 0, 0, 0, 32, 32); };
    auto expectPicture = [&](const char* when) {
        SCOPED_TRACE(when);
        for (TestImage image : {Picture(), BackBuffer()}) {
            EXPECT_EQ(image.At(64, 64), 0xFFFFFFFFu);
            EXPECT_EQ(image.At(95, 95), 0xFFFFFFFFu);
            EXPECT_EQ(image.At(63, 64), kClear);
            EXPECT_EQ(image.At(96, 96), kClear);
        }
    };

    int copies = D3D9PictureCopies(device);
    for (int i = 0; i < 3; ++i) {
        Frame(draw);
    }
    EXPECT_EQ(D3D9PictureCopies(device), copies);
    EXPECT_EQ(OnScreen(64, 64), 0xFFFFFFFFu);
    EXPECT_EQ(OnScreen(63, 64), kClear);
    expectPicture("in a 640x480 window");

    GrowWindow(320, 240);  // 960x720: the picture at one and a half times its size
    Frame(draw);
    Frame(draw);
    EXPECT_GT(D3D9PictureCopies(device), copies);
    EXPECT_EQ(OnScreen(100, 100), 0xFFFFFFFFu);
    EXPECT_EQ(OnScreen(140, 140), 0xFFFFFFFFu);
    EXPECT_EQ(OnScreen(90, 90), kClear);
    EXPECT_EQ(OnScreen(150, 150), kClear);
    EXPECT_EQ(OnScreen(950, 710), kClear);
    expectPicture("in a 960x720 window");

    GrowWindow(-320, -240);
    Frame(draw);
    copies = D3D9PictureCopies(device);
    Frame(draw);
    Frame(draw);
    EXPECT_EQ(D3D9PictureCopies(device), copies);
    EXPECT_EQ(OnScreen(64, 64), 0xFFFFFFFFu);
    EXPECT_EQ(OnScreen(96, 96), kClear);
    expectPicture("back in a 640x480 window");
}

TEST_F(PixelTest, F5ShowsThePictureLetterboxedOnTheDesktopAndBack)
{
    StartGl();
    ASSERT_TRUE(WriteBmp(Path("a.bmp"), TestImage::Filled(32, 32, 0xFFFFFFFFu)));
    ASSERT_TRUE(engine->LoadTexture(0, "a.bmp", 0));
    Win32InjectKey(g_mainWindow, VK_F5, true);
    Pump();
    ASSERT_EQ(g_screenMode, 1);
    ASSERT_TRUE(messages.empty());
    Frame([&] { engine->DrawSprite(0, 0, 0, 0, 0, 32, 32); });
    TestImage display = Display();
    // 640 x 480 scaled by the largest factor that fits, centred, with black bars.
    double scale = std::min(display.width / 640.0, display.height / 480.0);
    int w = int(640 * scale + 0.5), h = int(480 * scale + 0.5);
    int left = (int(display.width) - w) / 2, top = (int(display.height) - h) / 2;
    EXPECT_EQ(display.At(left + 2, top + 2), 0xFFFFFFFFu);
    EXPECT_EQ(display.At(left + w / 2, top + h / 2), kClear);
    if (top > 0) {
        EXPECT_EQ(display.At(display.width / 2, top - 1), 0xFF000000u);
    }

    Win32InjectKey(g_mainWindow, VK_F5, true);
    Pump();
    ASSERT_EQ(g_screenMode, 0);
    Frame([&] { engine->DrawSprite(8, 8, 0, 0, 0, 32, 32); });
    TestImage picture = Picture();
    EXPECT_EQ(picture.At(8, 8), 0xFFFFFFFFu);
    EXPECT_EQ(picture.At(7, 8), kClear);
    EXPECT_EQ(picture.At(40, 40), kClear);
}

}  // namespace
