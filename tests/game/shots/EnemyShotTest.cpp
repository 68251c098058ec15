// The seven enemy shot classes: flight, speed rules, the aimed and burst endings, homing, hit boxes.
#include <cmath>

#include "engine/TaskList.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot3.h"
#include "game/shots/EnemyShot4.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"
#include "tests/game/CombatFixture.h"

namespace {

class EnemyShotTest : public CombatFixture {};

TEST_F(EnemyShotTest, AnyAngleIsBroughtIntoRangeAndFlownAtSpeed)
{
    struct Case {
        int angle;
        float dx, dy;  // expected movement after one second
    } cases[] = {
        {450, 0.0f, -120.0f},  // 90: up
        {-90, 0.0f, 120.0f},   // 270: down
        {720, 120.0f, 0.0f},
        {-1260, -120.0f, 0.0f},  // -1260 = 180 - 4 x 360
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        EnemyShot2* shot = EnemyShot2::Create(PriorityPlayer, 320.0f, 240.0f, 120.0f, c.angle, 0.0f, 0);
        EXPECT_FLOAT_EQ(shot->x, 312.0f) << "centre minus half the 16x8 size";
        EXPECT_FLOAT_EQ(shot->y, 236.0f);
        RunTasks(60);
        EXPECT_NEAR(shot->x - 312.0f, c.dx, 0.5f);
        EXPECT_NEAR(shot->y - 236.0f, c.dy, 0.5f);
        EXPECT_GE(shot->direction, 0);
        EXPECT_LT(shot->direction, 360);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(EnemyShotTest, UnlimitedAccelerationSpeedsUpOrTurnsBack)
{
    EnemyShot1* faster = EnemyShot1::Create(PriorityPlayer, 320.0f, 100.0f, 100.0f, 270, 50.0f);
    EnemyShot1* back = EnemyShot1::Create(PriorityPlayer, 320.0f, 100.0f, 100.0f, 270, -100.0f);
    RunTasks(120);
    EXPECT_NEAR(faster->speed, 200.0f, 0.5f);
    EXPECT_NEAR(back->speed, -100.0f, 0.5f);
    // Down for a second, then back up to where it started.
    EXPECT_NEAR(back->y, 92.0f, 2.0f);
}

TEST_F(EnemyShotTest, LimitClassesBrakeToTheirLimitAndHoldIt)
{
    EnemyShot5* five = EnemyShot5::Create(PriorityPlayer, 140.0f, 100.0f, 200.0f, 0, 100.0f, 100.0f);
    EnemyShot6* six = EnemyShot6::Create(PriorityPlayer, 140.0f, 200.0f, 200.0f, 0, 100.0f, 100.0f);
    EnemyShot5* unlimited = EnemyShot5::Create(PriorityPlayer, 320.0f, 400.0f, 10.0f, 90, 20.0f, 0.0f);
    EnemyShot6* slowStart = EnemyShot6::Create(PriorityPlayer, 320.0f, 300.0f, 50.0f, 180, 20.0f, 100.0f);
    RunTasks(30);
    EXPECT_NEAR(five->speed, 150.0f, 2.0f) << "100 px/s slower each second";
    RunTasks(60);
    EXPECT_FLOAT_EQ(five->speed, 100.0f);
    EXPECT_FLOAT_EQ(six->speed, 100.0f);
    EXPECT_NEAR(unlimited->speed, 40.0f, 2.0f) << "limit 0: speeds up without end";
    EXPECT_FLOAT_EQ(slowStart->speed, 100.0f) << "starting below the limit takes the limit at once";
}

TEST_F(EnemyShotTest, BrakingShotFiresOneAimedShotAndVanishes)
{
    StandingShip::Create(400.0f, 400.0f);  // centre (424, 424)
    EnemyShot3* shot = EnemyShot3::Create(PriorityPlayer, 300.0f, 100.0f, 200.0f, 0, 400.0f, 10.0f, 10);
    int frames = 0;
    Point from{};
    while (IsLive(shot) && frames < 120) {
        shot->GetCenter(&from);
        RunTasks();
        ++frames;
    }
    EXPECT_NEAR(frames, 29, 1) << "190 px/s of braking at 400 px/s per second";
    auto shots = LiveOfType(TaskType::EnemyShot);
    ASSERT_EQ(shots.size(), 1u);
    auto* aimed = dynamic_cast<EnemyShot2*>(shots[0]);
    ASSERT_NE(aimed, nullptr);
    // The aimed shot already flew its first frame; the braking one had moved a pixel or two.
    EXPECT_NEAR(aimed->direction, AngleDeg(from.x, from.y, 424, 424), 1);
    EXPECT_NEAR(aimed->speed, 250.0f, 1.0f);
    EXPECT_FLOAT_EQ(aimed->accel, 30.0f);
    EXPECT_EQ(aimed->cell, 0);
    Point start;
    aimed->GetCenter(&start);
    EXPECT_NEAR(start.x, from.x, 7);
    EXPECT_NEAR(start.y, from.y, 7);
}

TEST_F(EnemyShotTest, BrakingShotEndings)
{
    struct Case {
        bool ship;
        float speed;
        int fireFlag;
        int fired;
        int direction;  // of the fired shot
    } cases[] = {
        {false, 50.0f, 10, 1, 0},  // no ship: along the first aim, to the right
        {true, 50.0f, 0, 0, 0},    // no fire flag: it just vanishes
        {true, 100.0f, 1, 1, 270},  // created right at its limit: it has reached it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.speed << " " << c.fireFlag);
        if (c.ship) {
            StandingShip::Create(276.0f, 400.0f);  // straight below
        }
        EnemyShot3* shot = EnemyShot3::Create(PriorityPlayer, 300.0f, 100.0f, c.speed, 270, 400.0f, 100.0f, c.fireFlag);
        RunTasks();
        EXPECT_FALSE(IsLive(shot));
        auto shots = LiveOfType(TaskType::EnemyShot);
        ASSERT_EQ(static_cast<int>(shots.size()), c.fired);
        if (c.fired) {
            // Whole degrees rounded down: straight below comes out as 269.
            EXPECT_NEAR(static_cast<EnemyShot*>(shots[0])->direction, c.direction, 1);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(EnemyShotTest, BurstShotBecomesARingOfEightAtRest)
{
    EnemyShot4* shot = EnemyShot4::Create(PriorityPlayer, 300.0f, 200.0f, 200.0f, 123, 200.0f, 10.0f);
    int frames = 0;
    Point centre{};
    while (IsLive(shot) && frames < 120) {
        shot->GetCenter(&centre);
        RunTasks();
        ++frames;
    }
    EXPECT_NEAR(frames, 57, 1);
    auto ring = LiveOfType(TaskType::EnemyShot);
    ASSERT_EQ(ring.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        auto* piece = dynamic_cast<EnemyShot2*>(ring[i]);
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->direction, 45 * i);
        EXPECT_NEAR(piece->speed, 0.0f, 2.0f) << "at rest, one frame of its acceleration at most";
        EXPECT_FLOAT_EQ(piece->accel, 100.0f);
        EXPECT_EQ(piece->cell, 1);
        Point p;
        piece->GetCenter(&p);
        EXPECT_NEAR(p.x, centre.x, 1);
        EXPECT_NEAR(p.y, centre.y, 1);
    }
    RunTasks(60);
    EXPECT_NEAR(static_cast<EnemyShot*>(ring[0])->speed, 100.0f, 2.0f) << "the ring speeds up from rest";
}

TEST_F(EnemyShotTest, HomingShotTurnsADegreeAFrameFor80Ticks)
{
    StandingShip::Create(476.0f, 0.0f);  // up and to the right, about 50 degrees away
    EnemyShot7* shot = EnemyShot7::Create(PriorityPlayer, 150.0f, 450.0f, 10.0f, 180, 0.0f);
    RunTasks(10);
    EXPECT_EQ(shot->direction, 170);
    RunTasks(100);
    int turned = 180 - shot->direction;
    EXPECT_GE(turned, 80);
    EXPECT_LE(turned, 82);
    int settled = shot->direction;
    RunTasks(30);
    EXPECT_EQ(shot->direction, settled) << "flies straight once homing ends";
    EXPECT_EQ(shot->homing, 0);
}

TEST_F(EnemyShotTest, HomingShotFreezesWithoutAShip)
{
    EnemyShot7* shot = EnemyShot7::Create(PriorityPlayer, 200.0f, 100.0f, 100.0f, 90, 50.0f);
    RunTasks(5);
    EXPECT_FLOAT_EQ(shot->y, 100.0f - 7.0f);
    EXPECT_FLOAT_EQ(shot->speed, 100.0f);
    EXPECT_TRUE(SpritesFrom(20).empty());
}

TEST_F(EnemyShotTest, HitBoxesAroundTheCentre)
{
    struct Case {
        EnemyShot* (*make)();
        int dx, dy;  // the ship's centre point, from the shot's centre
        bool hit;
    } cases[] = {
        {[]() -> EnemyShot* { return EnemyShot1::Create(PriorityPlayer, 300, 200, 0, 0, 0); }, 1, 1, true},
        {[]() -> EnemyShot* { return EnemyShot1::Create(PriorityPlayer, 300, 200, 0, 0, 0); }, -2, -2, true},
        {[]() -> EnemyShot* { return EnemyShot1::Create(PriorityPlayer, 300, 200, 0, 0, 0); }, 2, 0, false},
        {[]() -> EnemyShot* { return EnemyShot2::Create(PriorityPlayer, 300, 200, 0, 0, 0, 0); }, 0, 0, true},
        {[]() -> EnemyShot* { return EnemyShot2::Create(PriorityPlayer, 300, 200, 0, 0, 0, 0); }, 3, 0, false},
        {[]() -> EnemyShot* { return EnemyShot6::Create(PriorityPlayer, 300, 200, 0, 0, 0, 0); }, 0, 3, false},
        {[]() -> EnemyShot* { return EnemyShot7::Create(PriorityPlayer, 300, 200, 0, 0, 0); }, -1, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        EnemyShot* shot = c.make();
        Rect box;
        shot->GetRect(&box);
        Rect point{300.0f + c.dx, 200.0f + c.dy, 1, 1};
        EXPECT_EQ(RectsOverlap(point, box), c.hit);
        EXPECT_LE(box.w, 4);
        g_taskList->Kill(shot);
    }
}

TEST_F(EnemyShotTest, DrawnCellsAndRemovalBeyondTheField)
{
    EnemyShot2::Create(PriorityPlayer, 300.0f, 200.0f, 0.0f, 0, 0.0f, 2);
    EnemyShot1* leaving = EnemyShot1::Create(PriorityPlayer, 300.0f, 470.0f, 600.0f, 270, 0.0f);
    RunTasks();
    auto sprites = SpritesFrom(20);
    ASSERT_EQ(sprites.size(), 2u);
    EXPECT_EQ(sprites[0].srcX, 32);
    EXPECT_EQ(sprites[0].srcY, 8);
    EXPECT_EQ(sprites[1].srcX, 0);
    EXPECT_EQ(sprites[1].srcY, 16);
    // Gone once its top passes 480 + 32.
    float lastY = leaving->y;
    int frames = 1;
    while (IsLive(leaving) && frames < 60) {
        lastY = leaving->y;
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(leaving));
    EXPECT_GT(lastY + 10.0f, 512.0f) << "removed in the frame its top passed 512";
    EXPECT_LE(lastY, 512.0f);
}

}  // namespace
