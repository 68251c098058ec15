// The scenes as a player meets them: loading, title, difficulty and back, quit; and what a
// missing data file does to that path.
#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "game/screens/DifficultyMenu.h"
#include "game/scenes/SceneManager.h"
#include "game/screens/TitleMenu.h"
#include "platform/win32/Win32.h"
#include "tests/game/scenes/FileOpenCounter.h"
#include "tests/game/GameFixture.h"

namespace {

constexpr int kLoading = 0, kTitle = 1, kDifficulty = 3, kQuit = 8;

using SceneFlowTest = GameFixture;

bool Has(const std::vector<DrawnSprite>& sprites, int slot, int x, int y, int srcX, int srcY, int w, int h)
{
    return std::any_of(sprites.begin(), sprites.end(), [&](const DrawnSprite& s) {
        return s.slot == slot && s.x == x && s.y == y && s.srcX == srcX && s.srcY == srcY && s.w == w && s.h == h;
    });
}

TEST_F(SceneFlowTest, LoadingTitleDifficultyTitleQuit)
{
    StartGame();
    Frame();
    EXPECT_EQ(CurrentState(), kLoading);
    EXPECT_GT(QuadsDrawn(), 0) << "the loading text is drawn in the first frame";
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));

    // Let the fade-in finish, then check what the title shows.
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    auto title = Sprites();
    EXPECT_TRUE(Has(title, 8, 142, 40, 0, 0, 256, 80)) << "logo";
    EXPECT_TRUE(Has(title, 9, 244, 288, 0, 0, 160, 48)) << "start, highlighted";
    EXPECT_TRUE(Has(title, 1, 0, 0, 0, 0, 128, 256)) << "left panel";
    EXPECT_EQ(SpritesFrom(7).size(), 9u) << "the high score's nine digits";

    // The cursor wraps both ways.
    Tap(VK_UP);
    EXPECT_TRUE(Has(Sprites(), 6, 244, 352, 0, 56, 16, 16)) << "cursor on quit after wrapping up";
    Tap(VK_DOWN);
    EXPECT_TRUE(Has(Sprites(), 6, 224, 304, 0, 56, 16, 16)) << "cursor back on start";

    Tap('Z');
    ASSERT_TRUE(RunUntil(SceneState::Difficulty, 40));
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    auto difficulty = Sprites();
    EXPECT_TRUE(Has(difficulty, 10, 138, 40, 0, 192, 160, 48)) << "heading";
    EXPECT_TRUE(Has(difficulty, 30, 138, 100, 0, 0, 168, 128)) << "preview of the first level";
    EXPECT_TRUE(SpritesFrom(7).empty()) << "no numbers on the difficulty screen";

    // X leaves at once, without a fade.
    Tap('X');
    EXPECT_EQ(CurrentState(), kTitle);

    Frame();
    Tap(VK_DOWN);
    Tap('Z');
    EXPECT_TRUE(RunUntilClosed(60)) << "quit fades out and closes the window";
    EXPECT_EQ(statesEntered, (std::vector<int>{kLoading, kTitle, kDifficulty, kTitle, kQuit}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SceneFlowTest, DifficultyMenuSetsTheLevelOfTheChosenEntry)
{
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    Frame();  // the menu came up with Z held: it must be seen up once
    Tap('Z');
    ASSERT_TRUE(RunUntil(SceneState::Difficulty, 40));
    Frame();
    Tap(VK_DOWN);
    // Z and X in one frame: the choice wins.
    KeyDown('Z');
    KeyDown('X');
    Frame();
    EXPECT_EQ(g_sceneManager->GetLevel(), 2);
    EXPECT_TRUE(RunUntil(SceneState::Stage, 40));
}

TEST_F(SceneFlowTest, MissingSharedImageFailsFourPassesThenQuits)
{
    RemoveFile("img/shot.bmp");
    FileOpenCounter player((folder / "img").string(), "player.bmp");
    ASSERT_TRUE(player.Watching());
    StartGame();
    EXPECT_TRUE(RunUntilClosed(200));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。 : img/shot.bmp");
    int passes = player.Count();
    ASSERT_TRUE(g_graphicsEngine->LoadTexture(0, "img/player.bmp", 0xFF80FF80u));
    int opensPerLoad = player.Count() - passes;
    ASSERT_GT(opensPerLoad, 0);
    EXPECT_EQ(passes, 4 * opensPerLoad) << "each pass starts again from the first image";
    EXPECT_EQ(statesEntered, (std::vector<int>{kLoading, kQuit}));
}

TEST_F(SceneFlowTest, MissingPreviewIsTriedOnceAndReported)
{
    RemoveFile("img/diff_s3.bmp");
    FileOpenCounter first((folder / "img").string(), "diff_s1.bmp");
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    Frame();
    Tap('Z');
    ASSERT_TRUE(RunUntil(SceneState::Difficulty, 40));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。 : img/diff_s3.bmp");
    int opens = first.Count();
    ASSERT_TRUE(g_graphicsEngine->LoadTexture(30, "img/diff_s1.bmp", 0xFFFFFFFFu));
    EXPECT_EQ(first.Count(), 2 * opens) << "one attempt";
    EXPECT_TRUE(RunUntilClosed(5));
}

TEST_F(SceneFlowTest, GameOverScreenReturnsToTheTitleOnAnyActionKey)
{
    for (int key : {'Z', 'X', 'C', 'V'}) {
        SCOPED_TRACE(key);
        if (!g_sceneManager) {
            StartGame();
            ASSERT_TRUE(RunUntil(SceneState::Title, 200));
        }
        g_sceneManager->SetNextScene(SceneState::GameOver);
        ASSERT_TRUE(RunUntil(SceneState::GameOver, 2));
        EXPECT_EQ(SpritesFrom(12).size(), 1u) << "the game-over label";
        for (int i = 0; i < 20; ++i) {
            Frame();
        }
        EXPECT_EQ(CurrentState(), 6) << "it waits for a key";
        Tap(key);
        EXPECT_TRUE(RunUntil(SceneState::Title, 40));
    }
}

// The first frame of every scene after loading lies wholly under its fade-in's sheet, drawn
// last, so the scene never flashes up unfaded before the fade starts.
TEST_F(SceneFlowTest, EveryScenesFirstFrameIsAlreadyFaded)
{
    StartGame();
    auto expectCovered = [this](SceneState state, int sheetSlot) {
        SCOPED_TRACE(testing::Message() << "scene " << static_cast<int>(state));
        auto sprites = Sprites();
        ASSERT_FALSE(sprites.empty());
        const DrawnSprite& last = sprites.back();
        EXPECT_EQ(last.slot, sheetSlot);
        EXPECT_EQ(last.colour, 0xFFFFFFFFu) << "fully opaque";
        EXPECT_EQ(last.x, 0);
        EXPECT_EQ(last.y, 0);
        EXPECT_EQ(last.w, 640);
        EXPECT_EQ(last.h, 480);
    };
    // Enters the scene by a key held down (0: by a request), checks its first frame, then lets
    // its fade-in end.
    auto enter = [&](SceneState state, int sheetSlot, int key) {
        if (key) {
            KeyDown(key);
        } else {
            g_sceneManager->SetNextScene(state);
        }
        ASSERT_TRUE(RunUntil(state, 60));
        expectCovered(state, sheetSlot);
        if (key) {
            KeyUp(key);
        }
        for (int i = 0; i < 20; ++i) {
            Frame();
        }
    };
    const int black = 23, white = 22;
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    expectCovered(SceneState::Title, black);
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    enter(SceneState::Difficulty, black, 'Z');
    enter(SceneState::Title, black, 'X');  // the cancel leaves without a fade-out
    enter(SceneState::Difficulty, black, 'Z');
    enter(SceneState::Stage, black, 'Z');
    enter(SceneState::StageClear, white, 0);
    enter(SceneState::GameOver, black, 0);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
