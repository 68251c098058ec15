// Screenshots of the loading screen, the title, the difficulty menu and the stage-clear tally,
// drawn by OpenGL and saved by the engine, checked for what must be on them.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "engine/GraphicsEngine.h"
#include "game/scenes/SceneManager.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

namespace fs = std::filesystem;

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // How many different colours a rectangle holds.
    std::size_t Colours(int x0, int y0, int x1, int y1) const
    {
        std::set<std::uint32_t> seen;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                seen.insert(At(x, y));
            }
        }
        return seen.size();
    }
    template <typename Predicate>
    int Count(int x0, int y0, int x1, int y1, Predicate p) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += p(At(x, y)) ? 1 : 0;
            }
        }
        return n;
    }
};

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

Picture ReadBmp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Picture p;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        return p;
    }
    std::uint32_t offset = U32(b, 10);
    int width = static_cast<int>(U32(b, 18));
    int height = static_cast<int>(U32(b, 22));
    int bytes = (b[28] | (b[29] << 8)) / 8;
    bool bottomUp = height > 0;
    height = std::abs(height);
    std::size_t stride = (static_cast<std::size_t>(width) * bytes + 3) & ~std::size_t(3);
    if (bytes < 3 || b.size() < offset + stride * height) {
        return p;
    }
    p.width = width;
    p.height = height;
    p.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        std::size_t row = offset + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            std::size_t at = row + static_cast<std::size_t>(x) * bytes;
            p.pixels[static_cast<std::size_t>(y) * width + x] = b[at] | (b[at + 1] << 8) | (b[at + 2] << 16);
        }
    }
    return p;
}

bool White(std::uint32_t c)
{
    return (c & 0xFF) > 200 && ((c >> 8) & 0xFF) > 200 && ((c >> 16) & 0xFF) > 200;
}

bool Red(std::uint32_t c)
{
    // Thin strokes are smoothed into the black, so red is any clearly reddish pixel.
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r > 100 && r > 3 * g && r > 3 * b;
}

// Largest difference of one colour channel between two pixels.
int Difference(std::uint32_t a, std::uint32_t b)
{
    int d = 0;
    for (int shift : {0, 8, 16}) {
        d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return d;
}

// How many pixels of a rectangle differ between two pictures by more than a little.
int Changed(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            n += Difference(a.At(x, y), b.At(x, y)) > 8 ? 1 : 0;
        }
    }
    return n;
}

class ScreenshotTest : public GameFixture {
protected:
    ScreenshotTest() { realDevice = true; }

    Picture Shoot(const std::string& name)
    {
        fs::create_directories(SCREENSHOT_DIR);
        fs::path path = fs::path(SCREENSHOT_DIR) / (name + ".bmp");
        EXPECT_EQ(g_graphicsEngine->SaveScreenshot(path.string().c_str()), 0);
        Picture p = ReadBmp(path);
        EXPECT_EQ(p.width, 640);
        EXPECT_EQ(p.height, 480);
        return p;
    }
};

TEST_F(ScreenshotTest, LoadingTitleAndDifficultyShowWhatTheyMust)
{
    StartGame();
    Frame();
    Picture loading = Shoot("loading");
    ASSERT_EQ(loading.width, 640);
    EXPECT_GT(loading.Count(500, 440, 620, 458, White), 20) << "the white words";
    EXPECT_GT(loading.Count(520, 440, 540, 458, Red), 5) << "the red i";
    EXPECT_EQ(loading.Count(0, 0, 640, 400, [](std::uint32_t c) { return c != 0; }), 0) << "black elsewhere";

    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    Picture title = Shoot("title");
    ASSERT_EQ(title.width, 640);
    EXPECT_GT(title.Colours(0, 0, 128, 480), 20u) << "left panel";
    EXPECT_GT(title.Colours(512, 0, 640, 480), 20u) << "right panel";
    EXPECT_GT(title.Colours(142, 40, 398, 120), 20u) << "logo";
    EXPECT_GT(title.Colours(244, 288, 404, 336), 10u) << "start entry";
    EXPECT_GT(title.Colours(264, 336, 424, 384), 10u) << "quit entry";
    EXPECT_GT(title.Colours(268, 0, 376, 18), 3u) << "high score digits";

    Frame();
    Tap('Z');
    ASSERT_TRUE(RunUntil(SceneState::Difficulty, 40));
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    Picture difficulty = Shoot("difficulty");
    ASSERT_EQ(difficulty.width, 640);
    EXPECT_GT(difficulty.Colours(138, 40, 298, 88), 10u) << "heading";
    EXPECT_GT(difficulty.Colours(138, 100, 496, 228), 50u) << "preview";
    EXPECT_GT(difficulty.Colours(244, 252, 404, 300), 10u) << "first entry";
    EXPECT_GT(difficulty.Colours(0, 0, 128, 480), 20u) << "left panel";

    // The preview stays inside the play field: the right panel shows just as on the title,
    // which draws nothing over it, also on every frame of a cursor move's slide (out to its
    // widest offset, 12 px, and back).
    EXPECT_EQ(Changed(difficulty, title, 512, 0, 640, 480), 0) << "the right panel is untouched";
    Tap(VK_DOWN);
    for (int frame = 0; frame < 36; ++frame) {
        Picture sliding = Shoot(frame == 15 ? "difficulty-sliding" : "difficulty-slide");  // 15: near the widest
        ASSERT_EQ(sliding.width, 640);
        EXPECT_EQ(Changed(sliding, title, 512, 100, 640, 228), 0) << "slide frame " << frame;
        Frame();
    }
    EXPECT_GT(Shoot("difficulty-2").Colours(138, 100, 496, 228), 50u) << "the second level's preview";
}

TEST_F(ScreenshotTest, TallyLabelsShareOneLeftEdgeAndOneSize)
{
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    Frame();
    g_sceneManager->SetNextScene(SceneState::StageClear);
    ASSERT_TRUE(RunUntil(SceneState::StageClear, 10));
    Frame();
    for (int i = 0; i < 4; ++i) {
        // The banner at once, then the lines one by one; two frames up make each press fresh.
        KeyDown('Z');
        Frame();
        KeyUp('Z');
        Frame();
        Frame();
    }
    for (int i = 0; i < 120; ++i) {
        Frame();  // the slide-in's debris has burnt out
    }
    Picture tally = Shoot("tally");
    ASSERT_EQ(tally.width, 640);
    // The labels lie on the picture's upper-left quarter, drawn 1:1 at (70, 88) over white.
    Picture back = ReadBmp(folder / "img/clear_b1.bmp");
    ASSERT_EQ(back.width, 256);
    auto behind = [&](int x, int y) {
        std::uint32_t c = back.At(x - 70, y - 88);
        return c == 0 ? 0xFFFFFFu : c;
    };
    struct Ink {
        int left = 640, right = -1, top = 480, bottom = -1;
    };
    const char* names[4] = {"items", "damage", "score", "rank"};
    Ink ink[4];
    for (int line = 0; line < 4; ++line) {
        SCOPED_TRACE(names[line]);
        Ink& k = ink[line];
        for (int y = 140 + 40 * line; y < 180 + 40 * line; ++y) {
            for (int x = 172; x < 300; ++x) {
                if (Difference(tally.At(x, y), behind(x, y)) > 40) {
                    k.left = std::min(k.left, x);
                    k.right = std::max(k.right, x);
                    k.top = std::min(k.top, y - 40 * line);
                    k.bottom = std::max(k.bottom, y - 40 * line);
                }
            }
        }
        ASSERT_GE(k.right, k.left) << "label drawn";
        EXPECT_GE(k.left, 180) << "inside its sprite";
        EXPECT_LT(k.right, 260) << "inside its sprite";
        EXPECT_EQ(k.left, ink[0].left) << "one left edge";
        EXPECT_EQ(k.top, ink[0].top) << "one size: the capitals' top";
        EXPECT_EQ(k.bottom, ink[0].bottom) << "one size: the baseline";
    }
    // The natural widths of the words in one face: "DAMAGE" is the widest, not squeezed below
    // the others.
    auto width = [&](int line) { return ink[line].right - ink[line].left; };
    EXPECT_GT(width(1), width(2)) << "DAMAGE wider than SCORE";
    EXPECT_GT(width(2), width(3)) << "SCORE wider than RANK";
}

}  // namespace
