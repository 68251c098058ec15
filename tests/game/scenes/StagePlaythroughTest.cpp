// A stage as a whole: the map brings its enemies and, at its end, the level's boss; the boss's
// end flies the ship out into the stage-clear tally, and the tally leads back to the title.
#include "engine/GameObject.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/enemies/Enemy.h"
#include "game/player/PlayerShip.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "game/screens/StageClearTally.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

namespace {

template <class T>
T* FindLive()
{
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live) {
            if (auto* found = dynamic_cast<T*>(t)) {
                return found;
            }
        }
    }
    return nullptr;
}

class StagePlaythroughTest : public GameFixture {};

// Pays gauge in its one frame, before the ship runs: as an enemy escaping or a graded kill does.
class GaugeCost : public Task {
public:
    explicit GaugeCost(int points) : points(points) {}
    void Exec() override
    {
        g_scoreTable->ReduceGauge(points);
        g_taskList->Kill(this);
    }
    int points;
};

TEST_F(StagePlaythroughTest, EveryLevelsMapEndsWithItsBossAndTheClearLeadsHome)
{
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    for (int level : {0, 2, 3}) {
        SCOPED_TRACE(level);
        g_sceneManager->SetLevel(level);
        g_sceneManager->SetNextScene(SceneState::Stage);
        ASSERT_TRUE(RunUntil(SceneState::Stage, 3));
        int enemies = 0;
        Boss* boss = nullptr;
        // Up to five minutes of play; the gauge is kept full so that the ship lives to see it.
        for (int frame = 0; frame < 5 * 60 * 63 && !boss; ++frame) {
            g_scoreTable->ResetForGame();
            Frame();
            boss = FindLive<Boss>();
            if (!boss && FindLive<Enemy>()) {
                ++enemies;
            }
        }
        ASSERT_NE(boss, nullptr) << "the map ends with the boss";
        EXPECT_GT(enemies, 0) << "enemies came before it";

        // The last form's end calls the ship's stage clear; the ship flies out and fades to white.
        GameObject* ship = static_cast<GameObject*>(TaskList::FindPlayer());
        ASSERT_NE(ship, nullptr);
        ship->OnStageClear();
        ASSERT_TRUE(RunUntil(SceneState::StageClear, 600));
        Frame();
        EXPECT_NE(FindLive<StageClearTally>(), nullptr);
        // The tally goes line by line, then waits for a key to leave for the title.
        for (int i = 0; i < 400; ++i) {
            Frame();
        }
        Tap('Z');
        ASSERT_TRUE(RunUntil(SceneState::Title, 100));
        Frame();
    }
    EXPECT_TRUE(boxes.empty());
}

// The gauge runs out in the very frame in which the ship, on its way out after the boss, passes
// the top: the game is over, whatever the white fade of the clear had begun.
TEST_F(StagePlaythroughTest, GaugeUsedUpAsTheShipLeavesTheTopEndsTheGame)
{
    const int kStageClear = static_cast<int>(SceneState::StageClear);
    const int kGameOver = static_cast<int>(SceneState::GameOver);
    struct Case {
        int gaugeLeft;  // after the cost paid in the ship's last frame
        int ending;
    } cases[] = {
        {8, kStageClear},
        {0, kGameOver},
    };
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gaugeLeft);
        g_sceneManager->SetLevel(0);
        g_sceneManager->SetNextScene(SceneState::Stage);
        ASSERT_TRUE(RunUntil(SceneState::Stage, 3));
        auto* ship = dynamic_cast<PlayerShip*>(TaskList::FindPlayer());
        ASSERT_NE(ship, nullptr);
        // One step short of the top: its bottom edge passes y 0 in the next frame.
        ship->playerState = PlayerState::Leaving;
        ship->y = -47.0f;
        g_taskList->Insert(new GaugeCost(g_scoreTable->GetGauge() - c.gaugeLeft), PriorityEnemy);
        statesEntered.clear();
        Frame();
        EXPECT_EQ(g_scoreTable->GetGauge(), c.gaugeLeft);
        EXPECT_EQ(TaskList::FindPlayer(), nullptr) << "the ship is gone past the top";
        // Both fades may run; the first to end decides, and the scene it opens stays.
        for (int i = 0; i < 150; ++i) {
            Frame();
        }
        EXPECT_EQ(CurrentState(), c.ending);
        EXPECT_EQ(statesEntered, (std::vector<int>{static_cast<int>(SceneState::Stage), c.ending}));
        g_sceneManager->SetNextScene(SceneState::Title);
        ASSERT_TRUE(RunUntil(SceneState::Title, 3));
    }
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
