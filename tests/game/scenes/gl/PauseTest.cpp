// The pause on the real screen: the game stands still with its picture shown, F5 while paused
// keeps that picture in either mode, and S goes on from the very same state.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <typeinfo>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"
#include "tests/support/ScreenCapture.h"

namespace {

// Every task in list order with its position where it has one, and the score table.
std::string GameState()
{
    std::ostringstream out;
    for (Task* t = g_taskList->First(); t; t = t->next) {
        out << typeid(*t).name() << ' ' << static_cast<int>(t->state) << ' ' << t->priority;
        if (auto* g = dynamic_cast<GameObject*>(t)) {
            out << " at " << g->x << ',' << g->y;
        }
        if (auto* e = dynamic_cast<Enemy*>(t)) {
            out << " at " << e->x << ',' << e->y << " hp " << e->hp;
        }
        out << '\n';
    }
    out << "score " << g_scoreTable->GetScore() << " gauge " << g_scoreTable->GetGauge() << " multiplier "
        << g_scoreTable->GetMultiplier();
    return out.str();
}

GameObject* Ship()
{
    return static_cast<GameObject*>(TaskList::FindPlayer());
}

// The 640x480 picture in the window's client area, as the X server shows it.
std::vector<std::uint32_t> WindowPicture()
{
    ScreenCapture screen = ScreenCapture::Take();
    POINT origin{0, 0};
    ClientToScreen(g_mainWindow, &origin);
    std::vector<std::uint32_t> picture;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            int sx = origin.x + x, sy = origin.y + y;
            bool inside = sx >= 0 && sy >= 0 && sx < screen.width && sy < screen.height;
            picture.push_back(inside ? screen.At(sx, sy) : 0);
        }
    }
    return picture;
}

// Mean difference per channel between the picture and the screen's full-screen letterbox.
double FullScreenDifference(const std::vector<std::uint32_t>& picture)
{
    ScreenCapture screen = ScreenCapture::Take();
    double scale = std::min(screen.width / 640.0, screen.height / 480.0);
    int left = (screen.width - int(640 * scale + 0.5)) / 2, top = (screen.height - int(480 * scale + 0.5)) / 2;
    double sum = 0;
    int n = 0;
    for (int y = 4; y < 480; y += 8) {
        for (int x = 4; x < 640; x += 8) {
            std::uint32_t a = picture[y * 640 + x];
            std::uint32_t b = screen.At(left + int((x + 0.5) * scale), top + int((y + 0.5) * scale));
            for (int shift : {0, 8, 16}) {
                sum += std::abs(int((a >> shift) & 255) - int((b >> shift) & 255));
                ++n;
            }
        }
    }
    return sum / n;
}

std::size_t DifferentPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        n += a[i] != b[i] ? 1 : 0;
    }
    return n;
}

class PauseTest : public GameFixture {
protected:
    PauseTest() { realDevice = true; }

    // Paused passes of the main loop: messages first, then the frame.
    void Passes(int count)
    {
        for (int i = 0; i < count; ++i) {
            Frame();
        }
    }
    void PressF5()
    {
        KeyDown(VK_F5);
        KeyUp(VK_F5);
        Passes(10);
    }
};

TEST_F(PauseTest, F5WhilePausedKeepsThePictureAndSGoesOnFromTheSameState)
{
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 400));
    g_sceneManager->SetLevel(0);
    g_sceneManager->SetNextScene(SceneState::Stage);
    ASSERT_TRUE(RunUntil(SceneState::Stage, 3));
    Passes(200);  // the stage under way
    KeyDown(VK_RIGHT);
    Passes(5);  // the ship moving
    ASSERT_NE(Ship(), nullptr);

    // S: the read that sees it pressed begins the pause, at the end of that frame.
    KeyDown('S');
    Frame();
    Frame();
    ASSERT_TRUE(g_sceneManager->IsPaused());
    std::string paused = GameState();
    float pausedX = Ship()->x;
    Passes(5);
    std::vector<std::uint32_t> picture = WindowPicture();
    Passes(30);
    EXPECT_EQ(GameState(), paused) << "nothing moves while paused";
    EXPECT_EQ(DifferentPixels(WindowPicture(), picture), 0u) << "the picture stands";

    PressF5();
    ASSERT_EQ(g_screenMode, 1);
    EXPECT_LT(FullScreenDifference(picture), 12.0) << "full screen shows the paused picture, scaled";
    PressF5();
    ASSERT_EQ(g_screenMode, 0);
    EXPECT_EQ(DifferentPixels(WindowPicture(), picture), 0u) << "back in the window, the same picture";
    EXPECT_TRUE(g_sceneManager->IsPaused());
    EXPECT_EQ(GameState(), paused);

    // S still held from the pausing press does nothing; let go and pressed again, the game goes on.
    KeyUp('S');
    Passes(3);
    EXPECT_TRUE(g_sceneManager->IsPaused());
    EXPECT_EQ(GameState(), paused);
    KeyDown('S');
    Frame();
    EXPECT_FALSE(g_sceneManager->IsPaused());
    EXPECT_GT(Ship()->x, pausedX) << "the first frame after the pause moves on from where it stood";
    EXPECT_LT(Ship()->x - pausedX, 10.0f) << "by one frame's step";
    KeyUp('S');
    Passes(3);
    EXPECT_FALSE(g_sceneManager->IsPaused()) << "the resuming press does not pause again";
    KeyUp(VK_RIGHT);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
