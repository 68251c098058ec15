// The level-1 boss: a plainly scored diver with two shots and no timing grade.
#include <set>

#include "engine/SoundEffectId.h"
#include "engine/TaskList.h"
#include "game/bosses/BossL1.h"
#include "game/shots/EnemyShot2.h"
#include "game/score/GradeLabel.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"
#include "tests/game/enemies/EnemyKindFixture.h"

namespace {

class BossL1Test : public EnemyKindFixture {
protected:
    void SetUp() override
    {
        EnemyKindFixture::SetUp();
        SetLevel(1);
    }
    static BossL1* Spawn(int param)
    {
        return static_cast<BossL1*>(g_taskList->Insert(new BossL1(param), PriorityEnemy));
    }
    // A boss that hangs still in its dive at the given place.
    static BossL1* Hovering(float x, float y)
    {
        BossL1* boss = Spawn(0);
        boss->x = x;
        boss->y = y;
        boss->stateIndex = 2;
        boss->speed = 0.0f;
        boss->acceleration = 0.0f;
        return boss;
    }
    int CellDrawn() const
    {
        auto sprites = SpritesFrom(15);
        return sprites.size() == 1 ? sprites[0].srcX / 48 : -1;
    }
};

TEST_F(BossL1Test, EntersAboveTheTopCentreAndNeverShowsASecond)
{
    for (int param : {0, 5, 255}) {
        SCOPED_TRACE(testing::Message() << "param " << param);
        BossL1* boss = Spawn(param);
        EXPECT_FLOAT_EQ(boss->x, 296.0f);
        EXPECT_FLOAT_EQ(boss->y, -48.0f);
        EXPECT_EQ(boss->w, 48);
        EXPECT_EQ(boss->hitHalfSize[1], 20);
        EXPECT_EQ(boss->hp, 1);
        EXPECT_EQ(boss->scoreValue, 200);
        EXPECT_EQ(boss->type, TaskType::Enemy);
        EXPECT_EQ(boss->targetSecond, 0);
        Step(20);
        EXPECT_TRUE(SpritesFrom(7).empty()) << "no digits, and no clock to draw any";
        EXPECT_EQ(SpritesFrom(15).size(), 1u);
        ClearTasks();
    }
}

TEST_F(BossL1Test, BrakesForAboutTwoSecondsWithItsCellsBySpeed)
{
    StandingShip::Create(296.0f, 400.0f);
    BossL1* boss = Spawn(0);
    int frames = 0;
    while (boss->stateIndex == 0 && frames < 300) {
        Step();
        ++frames;
        int expected = boss->speed < 40.0f ? 3 : boss->speed < 80.0f ? 2 : boss->blinkCell;
        ASSERT_EQ(CellDrawn(), expected) << "frame " << frames;
        EXPECT_GE(boss->speed, -80.0f * kFrame);
    }
    EXPECT_NEAR(frames, 126, 1) << "about 2 s";
    EXPECT_NEAR(boss->y, 112.0f, 2.0f);
    EXPECT_FLOAT_EQ(boss->x, 296.0f);
}

TEST_F(BossL1Test, FacesTheShipOnceWithAShotAngleNearTheAim)
{
    std::set<int> offsets;
    for (int i = 0; i < 40; ++i) {
        StandingShip::Create(100.0f + 7.0f * i, 400.0f);
        BossL1* boss = Spawn(0);
        boss->y = 100.0f;
        boss->stateIndex = 1;
        boss->speed = 0.0f;
        Step();
        int aim = AngleDeg(320, 124, static_cast<int>(124.0f + 7.0f * i), 424);
        EXPECT_EQ(boss->direction, aim);
        EXPECT_EQ(boss->stateIndex, 2);
        EXPECT_EQ(CellDrawn(), 4);
        int offset = boss->shotAngle - aim;
        EXPECT_GE(offset, -20);
        EXPECT_LE(offset, 19);
        offsets.insert(offset);
        ClearTasks();
    }
    EXPECT_GT(offsets.size(), 10u) << "the offset is drawn at random";
}

TEST_F(BossL1Test, WithoutAShipItWaitsUndrawnInTheFaceState)
{
    BossL1* boss = Spawn(0);
    boss->y = 100.0f;
    boss->stateIndex = 1;
    boss->speed = 0.0f;
    Step(10);
    EXPECT_EQ(boss->stateIndex, 1);
    EXPECT_TRUE(SpritesFrom(15).empty());
    EXPECT_TRUE(LiveOfClass<EnemyShot2>().empty());
    StandingShip::Create(296.0f, 400.0f);
    Step();
    EXPECT_EQ(boss->stateIndex, 2);
}

TEST_F(BossL1Test, DivesGatheringSpeedAndFiresExactlyTwoShots)
{
    StandingShip::Create(296.0f, 400.0f);
    BossL1* boss = Spawn(0);
    boss->y = 100.0f;
    boss->stateIndex = 1;
    boss->speed = 0.0f;
    Step();
    int angle = boss->shotAngle;
    std::set<EnemyShot2*> seen;
    std::vector<int> firedAt;
    for (int frame = 1; frame <= 40; ++frame) {
        float s = boss->speed;
        Step();
        EXPECT_FLOAT_EQ(boss->speed, s + 80.0f * kFrame);
        EXPECT_EQ(CellDrawn(), 2);
        for (EnemyShot2* shot : LiveOfClass<EnemyShot2>()) {
            if (seen.insert(shot).second) {
                firedAt.push_back(frame);
                EXPECT_EQ(shot->direction, (angle + 360) % 360);
                EXPECT_FLOAT_EQ(shot->speed, 180.0f);
                EXPECT_EQ(shot->cell, 0);
                // Its centre started 11 px above the boss's bottom edge, then flew one frame.
                Point c;
                shot->GetCenter(&c);
                EXPECT_NEAR(c.x, boss->x + 24.0f + g_cosTable[shot->direction] * 180.0f * kFrame, 1.5f);
                EXPECT_NEAR(c.y, boss->y + 37.0f - g_sinTable[shot->direction] * 180.0f * kFrame, 1.5f);
            }
        }
    }
    ASSERT_EQ(firedAt.size(), 1u);
    EXPECT_EQ(firedAt[0], 33) << "30 ticks into the dive";

    // Held in place, it lives on but never fires a third.
    boss->speed = 0.0f;
    boss->acceleration = 0.0f;
    for (int frame = 41; frame <= 400; ++frame) {
        Step();
        for (EnemyShot2* shot : LiveOfClass<EnemyShot2>()) {
            if (seen.insert(shot).second) {
                firedAt.push_back(frame);
            }
        }
    }
    EXPECT_EQ(firedAt, (std::vector<int>{33, 66}));
    EXPECT_TRUE(IsLive(boss));
}

TEST_F(BossL1Test, DestroyedItScoresPlainlyAtAnyMoment)
{
    for (int state : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "state " << state);
        g_scoreTable->ResetForGame();
        for (int i = 0; i < 3; ++i) {
            g_scoreTable->AddGradedScore(0, TimingGrade::Exact);  // multiplier 4
        }
        StandingShip::Create(296.0f, 400.0f);
        ClockAt(50);
        BossL1* boss = Spawn(50);
        boss->y = 100.0f;
        boss->stateIndex = state;
        boss->Damage(1);
        Step();
        EXPECT_FALSE(IsLive(boss));
        EXPECT_EQ(g_scoreTable->GetScore(), 200 * 4);
        EXPECT_EQ(g_scoreTable->GetMultiplier(), 4);
        EXPECT_EQ(g_scoreTable->GetGauge(), 100);
        EXPECT_TRUE(LiveOfClass<GradeLabel>().empty());
        EXPECT_EQ(LiveOfClass<PointItem>().size(), 1u);
        EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionSmall)), 1);
        auto pieces = SpritesFrom(21);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces[0].srcY, 0) << "the explosion's first row";
        ClearTasks();
    }
}

TEST_F(BossL1Test, LeavingTheFieldCostsNothing)
{
    struct Case {
        float x, y;
        bool gone;
    } cases[] = {
        {31.0f, 200.0f, true}, {32.0f, 200.0f, false}, {609.0f, 200.0f, true},
        {200.0f, -97.0f, true}, {200.0f, 577.0f, true}, {200.0f, 576.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << ", " << c.y);
        g_scoreTable->ResetForGame();
        BossL1* boss = Hovering(c.x, c.y);
        Step();
        EXPECT_EQ(IsLive(boss), !c.gone);
        EXPECT_EQ(g_scoreTable->GetGauge(), 100);
        EXPECT_EQ(g_scoreTable->GetScore(), 0);
        EXPECT_TRUE(LiveOfClass<GradeLabel>().empty());
        ClearTasks();
    }
}

}  // namespace
