// Kind 5: the diver of levels 0 to 2 and the level-3 carrier.
#include <cmath>

#include "engine/SoundEffectId.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy5.h"
#include "game/enemies/Enemy5L3.h"
#include "game/shots/EnemyShot2.h"
#include "game/score/GradeLabel.h"
#include "game/player/PlayerShot.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"
#include "game/shots/ShotEmitterA.h"
#include "tests/game/enemies/EnemyKindFixture.h"

namespace {

class Enemy5Test : public EnemyKindFixture {
protected:
    static Enemy5* Spawn(int param, float x, float y)
    {
        return Enemy5::Create(PriorityEnemy, param, x, y);
    }
    static Enemy5Diver* Diver(int param, float x, float y)
    {
        return static_cast<Enemy5Diver*>(Spawn(param, x, y));
    }
    static Enemy5L3* Carrier(int param, float x, float y)
    {
        SetLevel(3);
        return static_cast<Enemy5L3*>(Spawn(param, x, y));
    }
    // Runs the carrier down to its deploy frame; the frames it took.
    int RunToClimb(Enemy5L3* carrier)
    {
        int frames = 0;
        while (carrier->stateIndex != 2 && frames < 200) {
            Step();
            ++frames;
        }
        return frames;
    }
    // The cell of the one sprite drawn from the slot this frame, -1 when none.
    int CellDrawn(int slot) const
    {
        auto sprites = SpritesFrom(slot);
        return sprites.size() == 1 ? sprites[0].srcX / 48 : -1;
    }
};

TEST_F(Enemy5Test, CreatePicksTheLevelClassAndItsLook)
{
    struct Case {
        int level;
        bool (*isClass)(Task*);
        TaskType type;
        int slot;
        unsigned colour;
    } cases[] = {
        {0, [](Task* t) { return dynamic_cast<Enemy5L0*>(t) != nullptr; }, TaskType::Enemy, 15, 0xFFFFFFFFu},
        {1, [](Task* t) { return dynamic_cast<Enemy5L1*>(t) != nullptr; }, TaskType::Enemy, 15, 0xFFFFFFFFu},
        {2, [](Task* t) { return dynamic_cast<Enemy5L2*>(t) != nullptr; }, TaskType::Enemy, 15, 0xFFFFFFFFu},
        {3, [](Task* t) { return dynamic_cast<Enemy5L3*>(t) != nullptr; }, TaskType::Inert, 17, 0x80FF8080u},
        {9, [](Task* t) { return dynamic_cast<Enemy5L0*>(t) != nullptr; }, TaskType::Enemy, 15, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level);
        SetLevel(c.level);
        Enemy5* enemy = Spawn(0, 200.0f, -48.0f);
        EXPECT_TRUE(c.isClass(enemy));
        EXPECT_EQ(enemy->type, c.type);
        EXPECT_EQ(enemy->scoreValue, 1000);
        EXPECT_EQ(enemy->hp, 1);
        EXPECT_FLOAT_EQ(enemy->speed, 160.0f);
        EXPECT_EQ(enemy->direction, 270);
        Step();
        auto sprites = SpritesFrom(c.slot);
        ASSERT_EQ(sprites.size(), 1u);
        EXPECT_EQ(sprites[0].colour, c.colour);
        EXPECT_EQ(sprites[0].w, 48);
        EXPECT_EQ(sprites[0].y, static_cast<int>(enemy->y));
        ClearTasks();
    }
}

TEST_F(Enemy5Test, ParameterIsAddedToTheClockEvenAt255)
{
    ClockAt(30);
    for (int level : {0, 3}) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        SetLevel(level);
        EXPECT_EQ(Spawn(0, 200.0f, 0.0f)->targetSecond, 0);
        EXPECT_EQ(Spawn(6, 200.0f, 0.0f)->targetSecond, 36);
        EXPECT_EQ(Spawn(255, 200.0f, 0.0f)->targetSecond, 285);
    }
}

TEST_F(Enemy5Test, DiverBrakesToAStopWithItsCellsBySpeed)
{
    StandingShip::Create(400.0f, 400.0f);
    Enemy5Diver* diver = Diver(0, 200.0f, -48.0f);
    int frames = 0;
    int belowZeroRun = 0;
    int lastBlink = -1;
    int blinkFlips = 0;
    while (diver->stateIndex == 0 && frames < 200) {
        Step();
        ++frames;
        int expected = diver->speed < 40.0f ? 3 : diver->speed < 80.0f ? 2 : diver->blinkCell;
        ASSERT_EQ(CellDrawn(15), expected) << "frame " << frames;
        if (diver->speed >= 80.0f) {
            blinkFlips += lastBlink >= 0 && diver->blinkCell != lastBlink ? 1 : 0;
            lastBlink = diver->blinkCell;
        }
        belowZeroRun = diver->speed < 0.0f ? belowZeroRun + 1 : 0;
        EXPECT_LE(belowZeroRun, 1);
    }
    EXPECT_EQ(frames, 85) << "about 1.3 s";
    EXPECT_FLOAT_EQ(diver->speed, 0.0f);
    EXPECT_NEAR(diver->y, -48.0f + 107.0f, 1.5f);
    EXPECT_FLOAT_EQ(diver->x, 200.0f);
    EXPECT_GE(blinkFlips, 20) << "a flip every second frame while fast";
}

TEST_F(Enemy5Test, DiverFacesTheShipOnceAndDivesGatheringSpeed)
{
    StandingShip* ship = StandingShip::Create(400.0f, 300.0f);
    Enemy5Diver* diver = Diver(0, 200.0f, 100.0f);
    diver->stateIndex = 1;
    diver->speed = 0.0f;
    Step();
    EXPECT_EQ(diver->stateIndex, 2);
    EXPECT_EQ(diver->direction, AngleDeg(224, 124, 424, 324));
    EXPECT_EQ(CellDrawn(15), 4);
    ship->x = 150.0f;  // turning happens only once
    int heading = diver->direction;
    float lastSpeed = 0.0f;
    for (int i = 0; i < 100; ++i) {
        float x0 = diver->x, y0 = diver->y, s = diver->speed;
        Step();
        EXPECT_EQ(diver->direction, heading);
        EXPECT_EQ(CellDrawn(15), 2);
        EXPECT_NEAR(diver->x - x0, g_cosTable[heading] * s * kFrame, 1e-3);
        EXPECT_NEAR(diver->y - y0, -g_sinTable[heading] * s * kFrame, 1e-3);
        EXPECT_GE(diver->speed, lastSpeed);
        lastSpeed = diver->speed;
    }
    EXPECT_GE(diver->speed, 160.0f);
    EXPECT_LT(diver->speed, 160.0f + 120.0f * kFrame) << "stops growing past 160";
}

TEST_F(Enemy5Test, DiverWithoutAShipWaitsUndrawnYetCanBeHit)
{
    ClockAt(10);
    Enemy5Diver* diver = Diver(2, 200.0f, 100.0f);
    diver->stateIndex = 1;
    diver->speed = 0.0f;
    Step(5);
    EXPECT_EQ(diver->stateIndex, 1);
    EXPECT_EQ(SpritesFrom(15).size(), 0u);
    EXPECT_FLOAT_EQ(diver->y, 100.0f);

    PlayerShot* shot = PlayerShot::Create(PriorityPlayerShot, 224.0f, 130.0f, 90);
    Step();
    EXPECT_FALSE(IsLive(shot));
    EXPECT_EQ(diver->hp, 0);
    Step();
    EXPECT_FALSE(IsLive(diver));
    EXPECT_EQ(g_scoreTable->GetScore(), 1000 / 4) << "a Miss: target 12 at clock 10";
}

TEST_F(Enemy5Test, DestructionLeavesOneItemForADiverAndFourForTheCarrier)
{
    struct Case {
        int level;
        size_t items;
    } cases[] = {{0, 1u}, {1, 1u}, {2, 1u}, {3, 4u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level);
        g_scoreTable->ResetForGame();
        ClockAt(20);
        SetLevel(c.level);
        Enemy5* enemy = Spawn(1, 200.0f, 200.0f);  // target 21
        enemy->Damage(1);
        Step();
        EXPECT_FALSE(IsLive(enemy));
        EXPECT_EQ(LiveOfClass<PointItem>().size(), c.items);
        EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionSmall)), 1);
        EXPECT_EQ(g_scoreTable->GetScore(), 500) << "a Near kill: half of 1000";
        EXPECT_EQ(g_scoreTable->GetGauge(), 99);
        auto labels = LiveOfClass<GradeLabel>();
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->grade, TimingGrade::Near);
        ClearTasks();
    }
}

TEST_F(Enemy5Test, EscapeCostsEightGaugePoints)
{
    for (int level : {0, 3}) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        g_scoreTable->ResetForGame();
        SetLevel(level);
        Enemy5* enemy = Spawn(0, 200.0f, 500.0f);
        enemy->y = 577.0f;
        Step();
        EXPECT_FALSE(IsLive(enemy));
        EXPECT_EQ(g_scoreTable->GetGauge(), 92);
        EXPECT_EQ(LiveOfClass<GradeLabel>().size(), 1u);
        ClearTasks();
    }
}

TEST_F(Enemy5Test, CarrierCannotBeHitWhileDescendingAndShowsItsSecondInTheHud)
{
    ClockAt(10);
    Enemy5L3* carrier = Carrier(5, 200.0f, -48.0f);  // target 15
    Step();
    auto hud = SpritesFrom(7);
    bool inHud = false;
    for (const DrawnSprite& s : hud) {
        inHud = inHud || (s.x == 300 && s.y == 462) || (s.x == 312 && s.y == 462);
    }
    EXPECT_TRUE(inHud) << "the digits also below the field from the first frame";

    carrier->y = 60.0f;
    PlayerShot* shot = PlayerShot::Create(PriorityPlayerShot, 224.0f, 90.0f, 90);
    Step();
    EXPECT_TRUE(IsLive(shot)) << "flies on through it";
    EXPECT_EQ(carrier->hp, 1);
    EXPECT_EQ(carrier->type, TaskType::Inert);
}

TEST_F(Enemy5Test, CarrierDropsFourEmittersAtY128ThenBecomesATarget)
{
    Enemy5L3* carrier = Carrier(0, 200.0f, -48.0f);
    int frames = 0;
    while (carrier->stateIndex == 0 && frames < 200) {
        Step();
        ++frames;
        EXPECT_EQ(carrier->type, TaskType::Inert);
    }
    EXPECT_GE(carrier->y, 128.0f);
    EXPECT_LT(carrier->y - 2.56f, 128.0f) << "on the frame it reached 128";
    EXPECT_TRUE(LiveOfClass<ShotEmitterA>().empty());
    float x0 = carrier->x, y0 = carrier->y;
    Step();
    EXPECT_EQ(carrier->stateIndex, 2);
    EXPECT_EQ(carrier->type, TaskType::Enemy);
    EXPECT_EQ(carrier->direction, 90);
    EXPECT_FLOAT_EQ(carrier->speed, 10.0f);
    EXPECT_EQ(carrier->frame, 3);
    EXPECT_FLOAT_EQ(carrier->y, y0) << "no movement in the deploy frame";

    struct Drop {
        float dx;
        int direction;
        int angle;
    } drops[] = {{0.0f, 210, 180}, {48.0f, 330, 0}, {0.0f, 225, 315}, {48.0f, 315, 225}};
    auto emitters = LiveOfClass<ShotEmitterA>();
    ASSERT_EQ(emitters.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "emitter " << i);
        EXPECT_EQ(emitters[i]->priority, PrioritySideFrame);
        EXPECT_EQ(emitters[i]->direction, drops[i].direction);
        EXPECT_EQ(emitters[i]->baseAngle, drops[i].angle);
        // Placed at the given corner; it has already drifted one frame.
        EXPECT_NEAR(emitters[i]->x, x0 + drops[i].dx + 7.0f, 1.0f);
        EXPECT_NEAR(emitters[i]->y, y0 + 7.0f, 1.0f);
    }

    PlayerShot* shot = PlayerShot::Create(PriorityPlayerShot, carrier->x + 24.0f, carrier->y + 30.0f, 90);
    Step();
    EXPECT_FALSE(IsLive(shot));
    EXPECT_EQ(carrier->hp, 0);
}

TEST_F(Enemy5Test, CarrierClimbsFiringDoubleRingsInThrees)
{
    Enemy5L3* carrier = Carrier(0, 200.0f, 100.0f);
    RunToClimb(carrier);
    for (ShotEmitterA* e : LiveOfClass<ShotEmitterA>()) {
        g_taskList->Kill(e);
    }
    std::vector<int> shotsPerSlot;  // the shots new in each frame the count moved
    int lastCount = carrier->volleyCount;
    int framesToFirst = 0;
    std::vector<int> cells;
    for (int i = 0; i < 160 && shotsPerSlot.size() < 6; ++i) {
        float y0 = carrier->y;
        Step();
        EXPECT_NEAR(carrier->y - y0, -10.0f * kFrame, 1e-4) << "climbs at 10 px/s";
        int cell = CellDrawn(17);
        ASSERT_TRUE(cell == 3 || cell == 4);
        if (cells.empty() || cells.back() != cell) {
            cells.push_back(cell);
        }
        if (shotsPerSlot.empty()) {
            ++framesToFirst;
        }
        if (carrier->volleyCount != lastCount) {
            int fresh = 0;
            for (EnemyShot2* s : LiveOfClass<EnemyShot2>()) {
                fresh += s->speed == 120.0f ? 1 : 0;
                s->speed = 0.0f;  // mark as counted
            }
            shotsPerSlot.push_back(fresh);
            lastCount = carrier->volleyCount;
        }
    }
    EXPECT_NEAR(framesToFirst, 64, 2) << "the first slot about 60 ticks after the deploy";
    EXPECT_EQ(shotsPerSlot, (std::vector<int>{0, 36, 36, 36, 0, 36}));
    EXPECT_GE(cells.size(), 3u);
}

TEST_F(Enemy5Test, RingsTurnTwoDegreesAPerSlotInOppositeWays)
{
    Enemy5L3* carrier = Carrier(0, 200.0f, 200.0f);
    RunToClimb(carrier);
    carrier->volleyCount = 3;
    carrier->volleyTimer = 0.0f;
    Step();
    auto shots = LiveOfClass<EnemyShot2>();
    ASSERT_EQ(shots.size(), 36u);
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(testing::Message() << "pair " << i);
        EnemyShot2* left = shots[2 * i];
        EnemyShot2* right = shots[2 * i + 1];
        EXPECT_EQ(left->direction, (20 * i + 6) % 360);
        EXPECT_EQ(right->direction, (20 * i - 6 + 360) % 360);
        EXPECT_EQ(left->cell, 0);
        EXPECT_EQ(right->cell, 1);
        Point lc, rc;
        left->GetCenter(&lc);
        right->GetCenter(&rc);
        EXPECT_NEAR(rc.x - lc.x, 48, 4);
        EXPECT_NEAR(lc.y, carrier->y + 24.0f, 3);
    }
}

}  // namespace
