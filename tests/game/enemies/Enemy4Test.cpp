// The rammer: its class per level, its aim and homing turn, its flight, cells and end.
#include <set>

#include "engine/SoundEffectId.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy4.h"
#include "game/score/GradeLabel.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/CRuntime.h"
#include "tests/game/enemies/EnemyKindFixture.h"

namespace {

class Enemy4Test : public EnemyKindFixture {
protected:
    static Enemy4Rammer* Spawn(int param, float x, float y)
    {
        return static_cast<Enemy4Rammer*>(Enemy4::Create(PriorityEnemy, param, x, y));
    }
};

TEST_F(Enemy4Test, CreatePicksTheLevelClassAndAllLevelsAreAlike)
{
    struct Case {
        int level;
        bool (*isClass)(Task*);
    } cases[] = {
        {0, [](Task* t) { return dynamic_cast<Enemy4L0*>(t) != nullptr; }},
        {1, [](Task* t) { return dynamic_cast<Enemy4L1*>(t) != nullptr; }},
        {2, [](Task* t) { return dynamic_cast<Enemy4L2*>(t) != nullptr; }},
        {3, [](Task* t) { return dynamic_cast<Enemy4L3*>(t) != nullptr; }},
        {4, [](Task* t) { return dynamic_cast<Enemy4L0*>(t) != nullptr; }},
        {-1, [](Task* t) { return dynamic_cast<Enemy4L0*>(t) != nullptr; }},
    };
    float yAfter[6];
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "level " << cases[i].level);
        SetLevel(cases[i].level);
        crt::srand(8461);
        Enemy4Rammer* enemy = Spawn(0, 200.0f, 100.0f);
        EXPECT_TRUE(cases[i].isClass(enemy));
        EXPECT_EQ(enemy->priority, PriorityEnemy);
        EXPECT_EQ(enemy->type, TaskType::Enemy);
        EXPECT_EQ(enemy->scoreValue, 200);
        EXPECT_EQ(enemy->hp, 1);
        EXPECT_EQ(enemy->w, 48);
        EXPECT_EQ(enemy->hitHalfSize[0], 20);
        EXPECT_GE(enemy->speed, 55.0f);
        EXPECT_LE(enemy->speed, 64.0f);
        Step(30);
        yAfter[i] = enemy->y;
        ClearTasks();
    }
    for (int i = 1; i < 6; ++i) {
        EXPECT_FLOAT_EQ(yAfter[i], yAfter[0]) << "the same flight on every level";
    }
}

TEST_F(Enemy4Test, TargetSecondFromTheParameter)
{
    ClockAt(20);
    EXPECT_EQ(Spawn(0, 200.0f, 100.0f)->targetSecond, 0);
    EXPECT_EQ(Spawn(7, 200.0f, 100.0f)->targetSecond, 27);
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        seen.insert(Spawn(255, 200.0f, 100.0f)->targetSecond);
    }
    EXPECT_EQ(seen, (std::set<int>{21, 22, 23}));
}

TEST_F(Enemy4Test, AimsAtTheShipWhenCreatedAndStraightDownWithout)
{
    EXPECT_EQ(Spawn(0, 200.0f, 100.0f)->direction, 270);
    StandingShip::Create(400.0f, 100.0f);  // level with the enemy, to its right
    EXPECT_EQ(Spawn(0, 200.0f, 100.0f)->direction, 0);
    EXPECT_EQ(Spawn(0, 200.0f, 300.0f)->direction, AngleDeg(224, 324, 424, 124));
}

TEST_F(Enemy4Test, HomingTurnsThreeDegreesAFrameByTheRawAngles)
{
    struct Case {
        int heading;
        float shipX, shipY;  // the ship's top-left; the enemy's centre is (224, 224)
        int after;
    } cases[] = {
        {10, 400.0f, 230.0f, 13},   // ship at 350: the long way round, counter-clockwise
        {0, 400.0f, 200.0f, 357},   // ship dead ahead: the heading still moves, and wraps
        {200, 200.0f, 400.0f, 203}, // ship below at 270
        {300, 200.0f, 400.0f, 297},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "heading " << c.heading);
        Enemy4Rammer* enemy = Spawn(0, 200.0f, 200.0f);
        StandingShip::Create(c.shipX, c.shipY);
        enemy->direction = c.heading;
        Step();
        EXPECT_EQ(enemy->direction, c.after);
        ClearTasks();
    }
}

TEST_F(Enemy4Test, HomingLastsAboutOneSecondThenTheHeadingIsFrozen)
{
    StandingShip* ship = StandingShip::Create(200.0f, 440.0f);
    Enemy4Rammer* enemy = Spawn(0, 200.0f, 0.0f);
    int frames = 0;
    while (enemy->homing && frames < 200) {
        Step();
        ++frames;
    }
    EXPECT_GE(frames, 62);
    EXPECT_LE(frames, 64) << "100 ticks at 1.6 a frame, then one frame to notice";
    ship->x = 400.0f;
    int frozen = enemy->direction;
    Step(10);
    EXPECT_EQ(enemy->direction, frozen);
}

TEST_F(Enemy4Test, WithoutAShipWhileHomingItWaitsUndrawnAndCannotEnd)
{
    Enemy4Rammer* enemy = Spawn(0, 200.0f, 590.0f);  // already past the escape line
    enemy->Damage(1);
    Step(5);
    EXPECT_TRUE(IsLive(enemy));
    EXPECT_FLOAT_EQ(enemy->y, 590.0f);
    EXPECT_FLOAT_EQ(enemy->homingTimer, 100.0f);
    EXPECT_EQ(SpritesFrom(17).size(), 0u);
    EXPECT_EQ(g_scoreTable->GetScore(), 0);

    enemy->hp = 1;
    enemy->y = 100.0f;
    StandingShip::Create(200.0f, 400.0f);
    Step();
    EXPECT_GT(enemy->y, 100.0f) << "resumes once there is a ship";
    EXPECT_EQ(SpritesFrom(17).size(), 1u);
    EXPECT_LT(enemy->homingTimer, 100.0f);
}

TEST_F(Enemy4Test, FlightGathersFortyPixelsPerSecondEachSecond)
{
    struct Case {
        int direction;
        float dx, dy;
    } cases[] = {{270, 0.0f, 1.0f}, {0, 1.0f, 0.0f}, {90, 0.0f, -1.0f}, {180, -1.0f, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << c.direction);
        Enemy4Rammer* enemy = Spawn(0, 250.0f, 200.0f);
        enemy->homing = false;
        enemy->direction = c.direction;
        enemy->speed = 60.0f;
        Step();
        EXPECT_NEAR(enemy->x, 250.0f + c.dx * 0.96f, 1e-4);
        EXPECT_NEAR(enemy->y, 200.0f + c.dy * 0.96f, 1e-4);
        EXPECT_FLOAT_EQ(enemy->speed, 60.64f);
        Step(62);
        EXPECT_NEAR(enemy->speed, 60.0f + 63 * 0.64f, 0.01f) << "no limit on the speed";
        ClearTasks();
    }
}

TEST_F(Enemy4Test, HalfTransparentCellsRunUpAndDownWithDigitsUnderneath)
{
    StandingShip::Create(200.0f, 440.0f);
    Enemy4Rammer* enemy = Spawn(5, 200.0f, 0.0f);
    std::vector<int> cells;
    for (int i = 0; i < 80; ++i) {
        Step();
        auto sprites = Sprites();
        int digitAt = -1, bodyAt = -1;
        for (int k = 0; k < static_cast<int>(sprites.size()); ++k) {
            const DrawnSprite& s = sprites[k];
            if (s.slot == 17) {
                bodyAt = k;
                EXPECT_EQ(s.colour, 0x80FFFFFFu);
                EXPECT_EQ(s.w, 48);
                EXPECT_EQ(s.x, static_cast<int>(enemy->x));
                EXPECT_EQ(s.y, static_cast<int>(enemy->y));
                if (cells.empty() || cells.back() != s.srcX / 48) {
                    cells.push_back(s.srcX / 48);
                }
            } else if (s.slot == 7 && digitAt < 0) {
                digitAt = k;
            }
        }
        ASSERT_GE(bodyAt, 0);
        ASSERT_GE(digitAt, 0);
        EXPECT_LT(digitAt, bodyAt) << "the digits are drawn before the sprite";
    }
    EXPECT_EQ(cells, (std::vector<int>{0, 1, 2, 1, 0, 1, 2}));
}

TEST_F(Enemy4Test, DestroyedItLeavesOneItemAndAMediumExplosion)
{
    ClockAt(10);
    StandingShip::Create(200.0f, 440.0f);
    Enemy4Rammer* enemy = Spawn(0, 200.0f, 100.0f);
    enemy->targetSecond = 10;
    g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
    g_scoreTable->AddGradedScore(0, TimingGrade::Exact);  // multiplier 2
    enemy->Damage(1);
    Step();
    EXPECT_FALSE(IsLive(enemy));
    EXPECT_EQ(LiveOfClass<PointItem>().size(), 1u);
    EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionMedium)), 1);
    EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionSmall)), 0);
    EXPECT_EQ(g_scoreTable->GetScore(), 200 * 4) << "an exact kill";
    EXPECT_EQ(g_scoreTable->GetMultiplier(), 4);
    auto labels = LiveOfClass<GradeLabel>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->grade, TimingGrade::Exact);
}

TEST_F(Enemy4Test, EscapingCostsEightGaugePoints)
{
    Enemy4Rammer* enemy = Spawn(0, 200.0f, 560.0f);  // no ship: straight down, still homing
    StandingShip* ship = StandingShip::Create(200.0f, 2000.0f);
    (void)ship;
    int frames = 0;
    while (IsLive(enemy) && frames < 100) {
        Step();
        ++frames;
    }
    EXPECT_FALSE(IsLive(enemy));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92);
    EXPECT_EQ(g_scoreTable->GetScore(), 0);
    auto labels = LiveOfClass<GradeLabel>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->grade, TimingGrade::Miss);
    EXPECT_FLOAT_EQ(labels[0]->y, 464.0f);
}

}  // namespace
