// Screenshots of the loading screen, the title and the difficulty menu, drawn by OpenGL and
// saved by the engine, checked for what must be on them.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "engine/GraphicsEngine.h"
#include "tests/scenes/GameFixture.h"

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
    EXPECT_GT(difficulty.Colours(138, 100, 556, 228), 50u) << "preview";
    EXPECT_GT(difficulty.Colours(244, 252, 404, 300), 10u) << "first entry";
    EXPECT_GT(difficulty.Colours(0, 0, 128, 480), 20u) << "left panel";
}

}  // namespace
