// The player's ship and its shot: steering, slow mode, shooting, hits, respawn, the gauge as life,
// the stage-clear exit.
#include "engine/TaskList.h"
#include "game/enemies/Enemy.h"
#include "game/shots/EnemyShot1.h"
#include "game/scenes/Fade.h"
#include "game/player/PlayerShip.h"
#include "game/player/PlayerShot.h"
#include "game/score/PointItem.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/Win32.h"
#include "tests/game/CombatFixture.h"

namespace {

// An enemy that only stands where it is put and counts its damage.
class Target : public Enemy {
public:
    Target(float x, float y)
    {
        this->x = x;
        this->y = y;
        w = h = 48;
        hitHalfSize[0] = hitHalfSize[1] = 20;
        hp = 5;
        type = TaskType::Enemy;
    }
    void Exec() override {}
    static Target* Create(float x, float y)
    {
        return static_cast<Target*>(g_taskList->Insert(new Target(x, y), PriorityEnemy));
    }
};

class PlayerTest : public CombatFixture {
protected:
    void SetUp() override
    {
        CombatFixture::SetUp();
        g_scoreTable->ResetForGame();
    }
    void TearDown() override
    {
        for (int key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, int('Z'), int('X')}) {
            KeyUp(key);
        }
        CombatFixture::TearDown();
    }
    // A ship past its entry and its invulnerable time, where the test puts it.
    static PlayerShip* ShipInPlay(float x, float y, PlayerState state = PlayerState::Normal)
    {
        PlayerShip* ship = PlayerShip::Create(PriorityPlayer);
        ship->x = x;
        ship->y = y;
        ship->playerState = state;
        return ship;
    }
    int Count(TaskType type) const { return static_cast<int>(LiveOfType(type).size()); }
};

TEST_F(PlayerTest, ArrowKeysSteerInsideTheField)
{
    struct Case {
        std::vector<int> keys;
        float x, y;
        int direction;
    } cases[] = {
        {{VK_UP, VK_RIGHT}, 300.0f, 200.0f, 45},
        {{VK_UP, VK_LEFT}, 300.0f, 200.0f, 135},
        {{VK_DOWN, VK_LEFT}, 300.0f, 200.0f, 225},
        {{VK_DOWN, VK_RIGHT}, 300.0f, 200.0f, 315},
        {{VK_UP, VK_RIGHT}, 464.0f, 200.0f, 90},  // at the right edge: straight up
        {{VK_UP, VK_RIGHT}, 464.0f, 0.0f, -1},    // in the top-right corner: no move
        {{VK_DOWN}, 300.0f, 432.0f, -1},
        {{VK_LEFT}, 128.0f, 200.0f, -1},
        {{VK_LEFT}, 129.0f, 200.0f, 180},
        {{VK_RIGHT}, 300.0f, 200.0f, 0},
        {{}, 300.0f, 200.0f, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direction << " from " << c.x << "," << c.y);
        PlayerShip* ship = ShipInPlay(c.x, c.y);
        for (int key : c.keys) {
            KeyDown(key);
        }
        RunTasks();  // the keys are pressed, not yet held
        EXPECT_FLOAT_EQ(ship->x, c.x);
        EXPECT_FLOAT_EQ(ship->y, c.y);
        RunTasks();
        EXPECT_EQ(ship->direction, c.direction);
        if (c.direction == -1) {
            EXPECT_FLOAT_EQ(ship->x, c.x);
            EXPECT_FLOAT_EQ(ship->y, c.y);
        } else {
            EXPECT_NEAR(ship->x - c.x, g_cosTable[c.direction] * 280.0f / 60.0f, 0.01f);
            EXPECT_NEAR(c.y - ship->y, g_sinTable[c.direction] * 280.0f / 60.0f, 0.01f);
        }
        for (int key : c.keys) {
            KeyUp(key);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(PlayerTest, XCallsTheItemsOnItsPressAndSlowsTheShipWhileHeld)
{
    PlayerShip* ship = ShipInPlay(300.0f, 300.0f);
    PointItem* first = PointItem::Create(PriorityEnemy, 200.0f, 100.0f);
    PointItem* second = PointItem::Create(PriorityEnemy, 400.0f, 100.0f);
    KeyDown(VK_UP);
    KeyDown('X');
    RunTasks();
    EXPECT_EQ(first->type, TaskType::HomingItem);
    EXPECT_EQ(second->type, TaskType::HomingItem);
    EXPECT_FLOAT_EQ(ship->speed, 280.0f) << "unchanged in the frame of the press";
    float y = ship->y;
    RunTasks();
    EXPECT_FLOAT_EQ(ship->speed, 140.0f);
    RunTasks();
    EXPECT_NEAR(y - ship->y, 280.0f / 60.0f + 140.0f / 60.0f, 0.01f) << "slow from the frame after";
    PointItem* late = PointItem::Create(PriorityEnemy, 300.0f, 100.0f);
    RunTasks();
    EXPECT_EQ(late->type, TaskType::FallingItem) << "only the press calls the items";
    KeyUp('X');
    RunTasks(2);
    EXPECT_FLOAT_EQ(ship->speed, 280.0f);
}

TEST_F(PlayerTest, HoldingZFiresTwiceASecondAndANewPressAtOnce)
{
    PlayerShip* ship = ShipInPlay(300.0f, 432.0f);  // its shots stay in the field for 38 frames
    KeyDown('Z');
    RunTasks();
    EXPECT_EQ(Count(TaskType::PlayerShot), 0) << "the frame of the press fires nothing";
    RunTasks();
    auto shots = LiveOfType(TaskType::PlayerShot);
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(SoundRequested(11), 1);
    auto* shot = static_cast<PlayerShot*>(shots[0]);
    EXPECT_FLOAT_EQ(shot->x, 308.0f) << "centred on the ship";
    EXPECT_FLOAT_EQ(shot->y, 432.0f);
    int frames = 0;
    while (Count(TaskType::PlayerShot) == 1 && frames < 60) {
        RunTasks();
        ++frames;
    }
    EXPECT_NEAR(frames, 31, 1) << "one shot every 30 ticks";
    KeyUp('Z');
    RunTasks();
    EXPECT_EQ(ship->shotCooldown, 0.0) << "the release clears the cooldown";
    RunTasks();  // up
    KeyDown('Z');
    int before = Count(TaskType::PlayerShot);
    RunTasks();
    EXPECT_EQ(Count(TaskType::PlayerShot), before);
    RunTasks();
    EXPECT_EQ(Count(TaskType::PlayerShot), before + 1) << "a new press fires on its first held frame";
}

TEST_F(PlayerTest, ShotDamagesOnlyTheFirstEnemyItOverlaps)
{
    Target* first = Target::Create(276.0f, 200.0f);
    Target* second = Target::Create(300.0f, 200.0f);
    PlayerShot* shot = PlayerShot::Create(PriorityPlayerShot, 310.0f, 250.0f, 90);
    RunTasks();
    EXPECT_FALSE(IsLive(shot));
    EXPECT_EQ(first->hp, 4);
    EXPECT_EQ(second->hp, 5);
    EXPECT_EQ(SpritesFrom(20).size(), 1u) << "drawn in the frame it hit";

    PlayerShot* high = PlayerShot::Create(PriorityPlayerShot, 150.0f, 10.0f, 90);
    float lastY = high->y;
    while (IsLive(high)) {
        lastY = high->y;
        RunTasks();
    }
    EXPECT_LT(lastY - 700.0f / 60.0f + 16.0f, 0.0f) << "gone once above the field";
    EXPECT_EQ(first->hp, 4);
}

TEST_F(PlayerTest, ShipIsLostOnAShotAndReturnsFromTheBottom)
{
    PlayerShip* ship = ShipInPlay(300.0f, 300.0f);
    EnemyShot1::Create(PriorityPlayer, 324.0f, 324.0f, 0.0f, 0, 0.0f);
    RunTasks();
    EXPECT_EQ(ship->playerState, PlayerState::Hit);
    EXPECT_EQ(SoundRequested(2), 1);
    EXPECT_EQ(SoundRequested(0), 1);
    float y = ship->y;
    RunTasks(6);
    EXPECT_EQ(ship->playerState, PlayerState::Falling) << "5 ticks of sinking";
    EXPECT_NEAR(ship->y - y, 6 * 180.0f / 60.0f, 0.01f);
    int frames = 0;
    while (ship->playerState == PlayerState::Falling && frames < 600) {
        RunTasks();
        ++frames;
    }
    EXPECT_EQ(ship->playerState, PlayerState::Entering);
    EXPECT_EQ(g_scoreTable->GetGauge(), 70);
    EXPECT_FLOAT_EQ(ship->x, 296.0f);
    EXPECT_FLOAT_EQ(ship->y, 480.0f);
    EXPECT_EQ(ship->direction, -1);
    EXPECT_EQ(Count(TaskType::EnemyShot), 1) << "the shot that hit is not touched";

    // Back in through y 384, then 180 ticks that cannot be hit.
    while (ship->playerState == PlayerState::Entering && frames < 1200) {
        RunTasks();
        ++frames;
    }
    EXPECT_EQ(ship->playerState, PlayerState::Invulnerable);
    EXPECT_LT(ship->y, 384.0f);
    EnemyShot1::Create(PriorityPlayer, ship->x + 24.0f, ship->y + 24.0f, 0.0f, 0, 0.0f);
    int invulnerable = 0;
    while (ship->playerState == PlayerState::Invulnerable && invulnerable < 400) {
        RunTasks();
        ++invulnerable;
    }
    EXPECT_NEAR(invulnerable, 181, 1);
    EXPECT_EQ(ship->playerState, PlayerState::Normal);
    RunTasks();
    EXPECT_EQ(ship->playerState, PlayerState::Hit);
}

TEST_F(PlayerTest, ShipIsHitOnlyAtItsCentrePoint)
{
    struct Case {
        float tx, ty;  // the enemy's top-left
        bool hit;
    } cases[] = {
        {300.0f, 300.0f, true},   // hit box 304..344 over the centre 324
        {325.0f, 300.0f, false},  // hit box from 329: overlaps the ship's picture, not its centre
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tx);
        PlayerShip* ship = ShipInPlay(300.0f, 300.0f);
        Target::Create(c.tx, c.ty);
        RunTasks();
        EXPECT_EQ(ship->playerState == PlayerState::Hit, c.hit);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(PlayerTest, UsedUpGaugeStartsTheGameOverFade)
{
    struct Case {
        int gauge;
        bool lose;  // the ship is lost below the field in this frame
        bool over;
    } cases[] = {
        {30, true, true},
        {31, true, false},
        {0, false, true},  // used up by grades or escapes
        {-4, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gauge);
        g_scoreTable->ResetForGame();
        g_scoreTable->ReduceGauge(100 - c.gauge);
        PlayerShip* ship =
            ShipInPlay(300.0f, c.lose ? 577.0f : 300.0f, c.lose ? PlayerState::Falling : PlayerState::Normal);
        RunTasks();
        EXPECT_EQ(IsLive(ship), !c.over);
        auto fades = LiveOfType(TaskType::Screen);
        EXPECT_EQ(fades.size(), c.over ? 1u : 0u);
        if (c.over) {
            Fade* fade = dynamic_cast<Fade*>(fades[0]);
            ASSERT_NE(fade, nullptr);
            while (IsLive(fade)) {
                RunTasks();
            }
            EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::GameOver);
            g_sceneManager->SetNextScene(SceneState::Blank);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(PlayerTest, StageClearFlightEndsInTheWhiteFade)
{
    PlayerShip* ship = ShipInPlay(300.0f, 300.0f);
    ship->OnStageClear();
    EXPECT_EQ(ship->playerState, PlayerState::Cleared);
    EnemyShot1::Create(PriorityPlayer, 324.0f, 324.0f, 0.0f, 0, 0.0f);
    KeyDown(VK_LEFT);
    int frames = 0;
    while (ship->playerState == PlayerState::Cleared && frames < 600) {
        RunTasks();
        ++frames;
    }
    EXPECT_NEAR(frames, 301, 1);
    EXPECT_LT(ship->x, 300.0f) << "free movement while cleared";
    EXPECT_EQ(ship->playerState, PlayerState::Leaving);
    KeyUp(VK_LEFT);
    float x = ship->x;
    float y = ship->y;
    RunTasks();
    EXPECT_FLOAT_EQ(ship->x, x);
    EXPECT_NEAR(y - ship->y, 280.0f / 60.0f, 0.01f);
    float lastY = ship->y;
    while (IsLive(ship) && frames < 1200) {
        lastY = ship->y;
        RunTasks();
        ++frames;
    }
    EXPECT_LT(lastY - 280.0f / 60.0f + 48.0f, 0.0f);
    auto fades = LiveOfType(TaskType::Screen);
    ASSERT_EQ(fades.size(), 1u);
    int fadeFrames = 0;
    while (IsLive(fades[0]) && fadeFrames < 200) {
        RunTasks();
        ++fadeFrames;
    }
    EXPECT_GT(fadeFrames, 55) << "step 4, not the quick step 16";
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::StageClear);
    g_sceneManager->SetNextScene(SceneState::Blank);
    EXPECT_EQ(g_scoreTable->GetGauge(), 100) << "never hit on the way out";
}

TEST_F(PlayerTest, EntryFromTheBottomIntoInvulnerability)
{
    PlayerShip* ship = PlayerShip::Create(PriorityPlayer);
    EXPECT_FLOAT_EQ(ship->x, 296.0f);
    EXPECT_FLOAT_EQ(ship->y, 480.0f);
    RunTasks();
    auto drawn = SpritesFrom(0);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].srcY, 48) << "the entering row";
    int frames = 1;
    while (ship->playerState == PlayerState::Entering && frames < 200) {
        RunTasks();
        ++frames;
    }
    EXPECT_NEAR(frames, 21, 1) << "96 px at 280 px/s";
    EXPECT_EQ(ship->frame, 2);
}

}  // namespace
