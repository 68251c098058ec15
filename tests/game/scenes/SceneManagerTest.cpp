// The scene manager's entry work on the running game's objects.
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/MusicController.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "platform/d3d9/RecordingDevice.h"
#include "tests/game/GameFixture.h"

namespace {

class Marker : public Task {
public:
    explicit Marker(bool* deleted) : deleted(deleted) {}
    ~Marker() override { *deleted = true; }
    bool* deleted;
};

class SceneManagerTest : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        StartGame();
        ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    }
    int MusicRequest() const
    {
        return g_musicRequest;
    }
    // The colour the next frame is cleared with (a frame clears before the scene runs).
    double ClearColour()
    {
        Frame();
        auto clears = RecordingDevice::From(g_graphicsEngine->GetDevice())->Named("Clear");
        return clears.empty() ? -1.0 : clears.back().args[3];
    }
};

TEST_F(SceneManagerTest, LastRequestWinsAndTheCurrentStateIsNotEnteredAgain)
{
    bool deleted = false;
    g_taskList->Insert(new Marker(&deleted), 1000);
    g_sceneManager->SetNextScene(SceneState::Difficulty);
    g_sceneManager->SetNextScene(SceneState::Title);
    Frame();
    EXPECT_EQ(CurrentState(), 1);
    EXPECT_FALSE(deleted) << "no entry work was repeated";

    g_sceneManager->SetNextScene(SceneState::GameOver);
    Frame();
    EXPECT_TRUE(deleted) << "a change ends the previous scene's tasks";
}

TEST_F(SceneManagerTest, EntryWorkPerStateClearColourAndMusic)
{
    EXPECT_EQ(MusicRequest(), 1);
    EXPECT_EQ(ClearColour(), 0.0);

    g_sceneManager->SetNextScene(SceneState::Difficulty);
    Frame();
    EXPECT_EQ(MusicRequest(), 1) << "the title's music goes on";
    EXPECT_EQ(ClearColour(), 0.0) << "and so does its clear colour";
    EXPECT_FALSE(g_sceneManager->IsStageRunning());

    struct Case {
        int level;
        int track;
    } cases[] = {{0, 2}, {2, 2}, {3, 3}};
    for (const Case& c : cases) {
        g_sceneManager->SetNextScene(SceneState::Title);
        Frame();
        g_sceneManager->SetLevel(c.level);
        g_sceneManager->SetNextScene(SceneState::Stage);
        Frame();
        EXPECT_EQ(MusicRequest(), c.track) << "level " << c.level;
        EXPECT_EQ(ClearColour(), double(0xFFC0FFFFu));
        EXPECT_TRUE(g_sceneManager->IsStageRunning());
    }

    g_sceneManager->SetNextScene(SceneState::StageClear);
    Frame();
    EXPECT_EQ(MusicRequest(), 6);
    EXPECT_EQ(ClearColour(), double(0xFFFFFFFFu));
    EXPECT_FALSE(g_sceneManager->IsStageRunning());

    g_sceneManager->SetNextScene(SceneState::GameOver);
    Frame();
    EXPECT_EQ(MusicRequest(), 7);
}

TEST_F(SceneManagerTest, QuitIsFinalAndDestroysTheWindow)
{
    g_sceneManager->SetNextScene(SceneState::Quit);
    g_sceneManager->SetNextScene(SceneState::Title);
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Quit);
    EXPECT_TRUE(RunUntilClosed(3));
}

TEST_F(SceneManagerTest, TablesAreFilledAtStart)
{
    EXPECT_EQ(g_sinTable[90], 1.0f);
    EXPECT_EQ(g_sinTable[270], -1.0f);
}

}  // namespace
