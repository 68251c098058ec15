// Point items (falling, homing, collected) and the two shot emitters.
#include "engine/TaskList.h"
#include "game/shots/EnemyShot2.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"
#include "game/shots/ShotEmitterA.h"
#include "game/shots/ShotEmitterB.h"
#include "platform/win32/CRuntime.h"
#include "tests/game/CombatFixture.h"

namespace {

class ItemAndEmitterTest : public CombatFixture {
protected:
    void SetUp() override
    {
        CombatFixture::SetUp();
        g_scoreTable->ResetForGame();
        g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
        g_scoreTable->AddGradedScore(0, TimingGrade::Exact);  // multiplier 2
    }
};

TEST_F(ItemAndEmitterTest, FallingItemRisesThenFallsOutOfTheField)
{
    StandingShip::Create(140.0f, 0.0f);  // far from the item
    crt::srand(5);
    PointItem* item = PointItem::Create(PriorityEnemy, 300.0f, 300.0f);
    EXPECT_NEAR(item->x, 288.0f, 5.0f);
    EXPECT_NEAR(item->y, 288.0f, 5.0f);
    EXPECT_GE(item->vx, -20.0f);
    EXPECT_LT(item->vx, 20.0f);
    float startY = item->y;
    RunTasks(30);
    EXPECT_NEAR(item->y, startY - 12.5f, 1.0f) << "half a second of rising";
    RunTasks(32);
    EXPECT_NEAR(item->y, startY, 2.0f) << "back through its start after about a second";
    float lastY = item->y;
    int frames = 0;
    while (IsLive(item) && frames < 600) {
        lastY = item->y;
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(item));
    EXPECT_LE(lastY, 528.0f);
    EXPECT_GT(lastY, 500.0f);
    EXPECT_EQ(g_scoreTable->GetItemCount(), 0);
}

TEST_F(ItemAndEmitterTest, AttractedItemHomesAndIsCollected)
{
    StandingShip::Create(300.0f, 420.0f);  // centre (324, 444)
    PointItem* item = PointItem::Create(PriorityEnemy, 300.0f, 100.0f);
    PointItem::Attract(item);
    EXPECT_EQ(item->type, TaskType::HomingItem);
    float startY = item->y;
    RunTasks(30);
    EXPECT_NEAR(item->y - startY, 200.0f, 8.0f) << "400 px/s toward the ship";
    int frames = 0;
    while (IsLive(item) && frames < 120) {
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(item));
    EXPECT_EQ(SoundRequested(7), 1);
    EXPECT_EQ(g_scoreTable->GetScore(), 200) << "100 points times the multiplier";
    EXPECT_EQ(g_scoreTable->GetItemCount(), 1);
}

TEST_F(ItemAndEmitterTest, ItemsStandStillAndVanishWithoutAShip)
{
    PointItem* item = PointItem::Create(PriorityEnemy, 300.0f, 300.0f);
    float x = item->x, y = item->y;
    RunTasks(10);
    EXPECT_FLOAT_EQ(item->x, x);
    EXPECT_FLOAT_EQ(item->y, y);
    EXPECT_TRUE(SpritesFrom(6).empty());
    EXPECT_TRUE(IsLive(item));
}

TEST_F(ItemAndEmitterTest, StandingEmitterFiresTurningCrossesInBurstsThenEnds)
{
    ShotEmitterB* emitter = ShotEmitterB::Create(PrioritySideFrame, 300.0f, 200.0f, 10);
    EXPECT_EQ(emitter->type, TaskType::Inert);
    EXPECT_FLOAT_EQ(emitter->x, 307.0f);
    RunTasks(100);
    EXPECT_TRUE(LiveOfType(TaskType::EnemyShot).empty()) << "100 ticks before the first volley";
    RunTasks(2);
    auto cross = LiveOfType(TaskType::EnemyShot);
    ASSERT_EQ(cross.size(), 4u);
    int cells[] = {1, 0, 1, 0};
    for (int i = 0; i < 4; ++i) {
        auto* shot = static_cast<EnemyShot2*>(cross[i]);
        EXPECT_EQ(shot->direction, 10 + 90 * i);
        EXPECT_EQ(shot->cell, cells[i]);
        EXPECT_FLOAT_EQ(shot->speed, 180.0f);
    }
    // The rest of the first burst: nine volleys a tick or two apart, the cross turning a degree each.
    RunTasks(20);
    EXPECT_EQ(emitter->volleys, 9);
    auto shots = LiveOfType(TaskType::EnemyShot);
    EXPECT_EQ(static_cast<EnemyShot*>(shots.back())->direction, 10 + 8 + 270);
    int volleys = emitter->volleys;
    RunTasks(40);
    EXPECT_EQ(emitter->volleys, volleys) << "the pause between bursts";
    int frames = 0;
    int lastVolleys = 0;
    while (IsLive(emitter) && frames < 2000) {
        lastVolleys = emitter->volleys;
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(emitter));
    EXPECT_EQ(lastVolleys, 64) << "gone in the frame of its 65th volley";
}

TEST_F(ItemAndEmitterTest, DriftingEmitterLeavesTheFieldWithoutCost)
{
    ShotEmitterA* emitter = ShotEmitterA::Create(PrioritySideFrame, 480.0f, 200.0f, 0, 0);
    float x = emitter->x;
    RunTasks(60);
    EXPECT_NEAR(emitter->x - x, 40.0f, 1.0f);
    int frames = 0;
    while (IsLive(emitter) && frames < 600) {
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(emitter));
    EXPECT_EQ(g_scoreTable->GetGauge(), 100);
}

}  // namespace
