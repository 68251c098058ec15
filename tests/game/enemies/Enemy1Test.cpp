// Kind 1: entry and braking, the aim 96 px above the ship, the dash, and each level's fire.
#include <cmath>
#include <cstdlib>

#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/enemies/Enemy1.h"
#include "game/score/GradeLabel.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/CRuntime.h"
#include "tests/game/enemies/KindFixture.h"

namespace {

class Enemy1Test : public KindFixture {
protected:
    Enemy1* Make(int level, float x = 200.0f, float y = -48.0f, int param = 0)
    {
        SetLevel(level);
        return Enemy1::Create(PriorityEnemy, param, x, y);
    }
    static int AimFrom(const Enemy* e, const StandingShip* ship, int above)
    {
        Point own, target;
        e->GetCenter(&own);
        ship->GetCenter(&target);
        return AngleDeg(own.x, own.y, target.x, target.y - above);
    }
    // Steps n frames and returns the frames (1-based) on which shots were fired, with the shots.
    struct Firing {
        int frame;
        std::vector<FiredShot> shots;
    };
    std::vector<Firing> StepFrames(Enemy* e, int n)
    {
        std::vector<Firing> firings;
        for (int frame = 1; frame <= n; ++frame) {
            auto shots = Step(e);
            if (!shots.empty()) {
                firings.push_back({frame, shots});
            }
        }
        return firings;
    }
    // Expects a line of six shots along the angle from the enemy's shot point.
    static void ExpectLine(const std::vector<FiredShot>& shots, const Enemy* e, int angle)
    {
        ASSERT_EQ(shots.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(shots[i].kind, 2);
            EXPECT_FLOAT_EQ(shots[i].speed, 160.0f + 10.0f * i);
            EXPECT_EQ(shots[i].angle, angle);
            EXPECT_FLOAT_EQ(shots[i].accel, 0.0f);
            EXPECT_EQ(shots[i].cell, 0);
            EXPECT_NEAR(shots[i].cx, e->x + 24.0f, 0.01f);
            EXPECT_NEAR(shots[i].cy, e->y + 37.0f, 0.01f);
        }
    }
};

TEST_F(Enemy1Test, LevelsZeroAndOneBrakeToAStopShowingTheirSpeedInTheCell)
{
    for (int level : {0, 1}) {
        SCOPED_TRACE(level);
        Enemy1* e = Make(level);
        std::vector<int> cells;
        std::vector<float> speeds;
        while (e->stateIndex == 0 && cells.size() < 400) {
            Step(e);
            cells.push_back(DrawnCell(15));
            speeds.push_back(e->speed);
        }
        ASSERT_EQ(e->stateIndex, 1);
        // 160 px/s lost at 80 px/s per second: about two seconds and 160 px.
        EXPECT_NEAR(static_cast<double>(cells.size()), 2.0 / 0.016, 2.0);
        EXPECT_NEAR(e->y, -48.0f + 160.0f, 3.0f);
        EXPECT_FLOAT_EQ(e->x, 200.0f);
        EXPECT_FLOAT_EQ(e->speed, 0.0f);
        // The flight pair blinks every second frame while fast.
        EXPECT_EQ(cells[0], 0);
        EXPECT_EQ(cells[1], 1);
        EXPECT_EQ(cells[2], 1);
        EXPECT_EQ(cells[3], 0);
        for (size_t i = 0; i < cells.size(); ++i) {
            int expected = speeds[i] < 40.0f ? 3 : speeds[i] < 80.0f ? 2 : cells[i];
            EXPECT_EQ(cells[i], expected) << "frame " << i + 1 << " speed " << speeds[i];
            EXPECT_TRUE(cells[i] == 0 || cells[i] == 1 || speeds[i] < 80.0f);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(Enemy1Test, LevelsZeroAndOneAimAboveTheShipAndDash)
{
    StandingShip* ship = StandingShip::Create(300.0f, 400.0f);
    int shotsAtAim = 0;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        for (int level : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " level " << level);
            crt::srand(seed);
            Enemy1* e = Make(level);
            ASSERT_GT(StepUntilState(e, 1), 0);
            int aim = AimFrom(e, ship, 96);
            auto fired = Step(e);
            EXPECT_EQ(e->stateIndex, 2);
            EXPECT_EQ(e->direction, aim);
            EXPECT_EQ(DrawnCell(15), 4);
            ASSERT_LE(fired.size(), 1u);
            shotsAtAim += static_cast<int>(fired.size());
            int shotAngle = level == 0 ? static_cast<Enemy1L0*>(e)->shotAngle : static_cast<Enemy1L1*>(e)->shotAngle;
            EXPECT_GE(shotAngle, aim - 20);
            EXPECT_LE(shotAngle, aim + 19);
            for (const FiredShot& s : fired) {
                EXPECT_EQ(s.kind, 2);
                EXPECT_EQ(s.angle, shotAngle);
                EXPECT_FLOAT_EQ(s.speed, 180.0f);
                EXPECT_FLOAT_EQ(s.accel, 0.0f);
                EXPECT_EQ(s.cell, 0);
                EXPECT_FLOAT_EQ(s.cx, e->x + 24.0f);
                EXPECT_FLOAT_EQ(s.cy, e->y + 37.0f);
            }

            // The dash: along the aim, gathering speed to 160 px/s and holding it.
            float x0 = e->x, y0 = e->y;
            std::vector<FiredShot> dashShots;
            for (int i = 0; i < 150; ++i) {
                auto more = Step(e);
                dashShots.insert(dashShots.end(), more.begin(), more.end());
                EXPECT_EQ(DrawnCell(15), 2);
                if (!IsLive(e) || e->state != TaskState::Live) {
                    break;
                }
            }
            EXPECT_GE(e->speed, 160.0f);
            EXPECT_LT(e->speed, 160.0f + 80.0f * 0.016f + 0.001f);
            double moved = std::atan2(-(e->y - y0), e->x - x0) * 180.0 / 3.14159265;
            EXPECT_NEAR(std::fmod(moved + 360.0, 360.0), aim, 1.0);
            EXPECT_EQ(dashShots.size(), level == 0 ? 0u : 2u);
            for (const FiredShot& s : dashShots) {
                EXPECT_EQ(s.angle, shotAngle) << "all along the same angle";
                EXPECT_FLOAT_EQ(s.speed, 180.0f);
            }
            g_taskList->Kill(e);
            RunTasks();
        }
    }
    EXPECT_GT(shotsAtAim, 0) << "the one-in-two shot fires for some seeds";
    EXPECT_LT(shotsAtAim, 16) << "and stays silent for others";
}

TEST_F(Enemy1Test, LevelOneDashShotsComeHalfASecondApart)
{
    StandingShip::Create(300.0f, 400.0f);
    Enemy1* e = Make(1);
    ASSERT_GT(StepUntilState(e, 2), 0);
    auto firings = StepFrames(e, 120);
    ASSERT_EQ(firings.size(), 2u);
    // 30 ticks at 0.96 a frame: the frame that finds the timer spent is the 33rd.
    EXPECT_EQ(firings[0].frame, 33);
    EXPECT_EQ(firings[1].frame, 66) << "the frame that fires does not count the timer down";
}

TEST_F(Enemy1Test, WithoutAShipTheAimWaitsStoppedAndUndrawn)
{
    Clock* clock = Clock::Create(PriorityScreen, 296, 120);
    clock->seconds = 10;
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE(level);
        Enemy1* e = Make(level, 200.0f, -48.0f, 5);
        int aimState = level < 2 ? 1 : 3;
        ASSERT_GT(StepUntilState(e, aimState), 0);
        for (int i = 0; i < 30; ++i) {
            auto fired = Step(e);
            EXPECT_TRUE(fired.empty());
        }
        EXPECT_EQ(e->stateIndex, aimState);
        EXPECT_FLOAT_EQ(e->speed, 0.0f);
        float y = e->y;
        Step(e);
        EXPECT_FLOAT_EQ(e->y, y);
        EXPECT_EQ(DrawnCell(15), -1) << "the enemy is not drawn";
        EXPECT_EQ(SpritesFrom(7).size(), 2u) << "its target second 15 still is";
        StandingShip* ship = StandingShip::Create(300.0f, 400.0f);
        Step(e);
        EXPECT_EQ(e->stateIndex, aimState + 1);
        EXPECT_EQ(e->direction, AimFrom(e, ship, 96));
        EXPECT_EQ(DrawnCell(15), 4);
        g_taskList->KillAllLive();
        RunTasks();
        clock = Clock::Create(PriorityScreen, 296, 120);
        clock->seconds = 10;
    }
}

TEST_F(Enemy1Test, LevelTwoBrakesFiringOneAimedLineThenDashesFiringEveryHundredTicks)
{
    StandingShip* ship = StandingShip::Create(300.0f, 400.0f);
    Enemy1L2* e = static_cast<Enemy1L2*>(Make(2));
    EXPECT_GE(e->speed, 150.0f);
    EXPECT_LE(e->speed, 169.0f);
    std::vector<FiredShot> entryShots;
    ASSERT_GT(StepUntilState(e, 1, 400, &entryShots), 0);
    EXPECT_TRUE(entryShots.empty());
    EXPECT_LE(e->speed, 80.0f);
    EXPECT_GT(e->speed, 78.0f) << "it takes aim still moving";
    Step(e);  // take aim
    EXPECT_EQ(e->shotAngle, AimFrom(e, ship, 0));
    EXPECT_EQ(DrawnCell(15), 2);

    // Brake and fire: one line, 30 ticks into the state, aimed afresh at the ship.
    int frame = 0;
    std::vector<int> fireFrames;
    while (e->stateIndex == 2 && frame < 400) {
        ++frame;
        auto fired = Step(e);
        if (!fired.empty()) {
            fireFrames.push_back(frame);
            ExpectLine(fired, e, AimFrom(e, ship, 0));  // aimed from where it moved to
        }
        EXPECT_EQ(DrawnCell(15), e->speed < 40.0f ? 3 : 2);
    }
    ASSERT_EQ(e->stateIndex, 3);
    ASSERT_EQ(fireFrames.size(), 1u);
    EXPECT_EQ(fireFrames[0], 33);

    // Re-aim 96 px above the ship, then a line 20 ticks later and every 100 ticks after it.
    int aim96 = AimFrom(e, ship, 96);
    Step(e);
    EXPECT_EQ(e->stateIndex, 4);
    EXPECT_EQ(e->direction, aim96);
    EXPECT_EQ(DrawnCell(15), 4);
    std::vector<int> dashFrames;
    for (frame = 1; frame <= 300 && e->state == TaskState::Live; ++frame) {
        if (frame == 100) {
            ship->x = 150.0f;  // each line aims afresh
        }
        auto fired = Step(e);
        if (!fired.empty()) {
            dashFrames.push_back(frame);
            ExpectLine(fired, e, AimFrom(e, ship, 0));
        }
    }
    ASSERT_GE(dashFrames.size(), 3u);
    EXPECT_EQ(dashFrames[0], 22);
    EXPECT_NEAR(dashFrames[1] - dashFrames[0], 100 / 0.96, 3.0);
    EXPECT_NEAR(dashFrames[2] - dashFrames[1], 100 / 0.96, 3.0);
}

TEST_F(Enemy1Test, LevelThreeFiresLineForkAndScatterVolleys)
{
    StandingShip* ship = StandingShip::Create(300.0f, 400.0f);
    Enemy1L3* e = static_cast<Enemy1L3*>(Make(3));
    ASSERT_GT(StepUntilState(e, 2), 0);
    int aim = e->shotAngle;
    EXPECT_EQ(aim, AimFrom(e, ship, 0));

    // Brake and fire: the line and, 5 ticks later, the fork; nothing more.
    std::vector<std::vector<FiredShot>> volleys;
    std::vector<int> frames;
    for (int frame = 1; e->stateIndex == 2 && frame < 400; ++frame) {
        auto fired = Step(e);
        if (!fired.empty()) {
            volleys.push_back(fired);
            frames.push_back(frame);
            if (volleys.size() == 1) {
                ExpectLine(fired, e, aim);
            }
        }
    }
    ASSERT_EQ(volleys.size(), 2u);
    EXPECT_EQ(frames[0], 33);
    EXPECT_EQ(frames[1] - frames[0], 6);
    ASSERT_EQ(volleys[1].size(), 12u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(volleys[1][2 * i].angle, aim - 30);
        EXPECT_EQ(volleys[1][2 * i + 1].angle, aim + 30);
        EXPECT_FLOAT_EQ(volleys[1][2 * i].speed, 160.0f + 10.0f * i);
        EXPECT_FLOAT_EQ(volleys[1][2 * i + 1].speed, 160.0f + 10.0f * i);
        EXPECT_EQ(volleys[1][2 * i].cell, 1);
    }

    // Re-aim: the dash 96 px above the ship, the shots at the ship itself.
    int aim96 = AimFrom(e, ship, 96);
    int aim0 = AimFrom(e, ship, 0);
    Step(e);
    EXPECT_EQ(e->direction, aim96);
    EXPECT_EQ(e->shotAngle, aim0);

    // Dash and fire: line, fork, scatter, then cycles of fork and scatter after each new aim.
    volleys.clear();
    frames.clear();
    for (int frame = 1; frame <= 160 && e->state == TaskState::Live; ++frame) {
        int angleBefore = e->shotAngle;
        auto fired = Step(e);
        if (!fired.empty()) {
            volleys.push_back(fired);
            frames.push_back(frame);
            if (fired.size() == 5u) {
                int previous = angleBefore;
                for (int i = 0; i < 5; ++i) {
                    EXPECT_FLOAT_EQ(fired[i].speed, 80.0f);
                    EXPECT_FLOAT_EQ(fired[i].accel, 20.0f * i);
                    EXPECT_EQ(fired[i].cell, 2);
                    EXPECT_GE(fired[i].angle, previous - 20) << "each shot wanders from the last";
                    EXPECT_LE(fired[i].angle, previous + 19);
                    previous = fired[i].angle;
                }
                EXPECT_EQ(e->shotAngle, previous) << "the angle keeps the wandering";
            }
        }
    }
    ASSERT_GE(volleys.size(), 5u);
    EXPECT_EQ(volleys[0].size(), 6u);
    EXPECT_EQ(volleys[1].size(), 12u);
    EXPECT_EQ(volleys[2].size(), 5u);
    EXPECT_EQ(volleys[3].size(), 12u);
    EXPECT_EQ(volleys[4].size(), 5u);
    EXPECT_EQ(frames[1] - frames[0], 6);
    EXPECT_EQ(frames[2] - frames[1], 6);
    // After the scatter: 5 ticks to the new aim, then 30 to the fork, each expiry a frame more.
    EXPECT_EQ(frames[3] - frames[2], 39);
}

TEST_F(Enemy1Test, WithoutAShipTheFirstVolleysKeepTheStartingAngle)
{
    for (int level : {2, 3}) {
        SCOPED_TRACE(level);
        Enemy1* e = Make(level);
        std::vector<FiredShot> shots;
        ASSERT_GT(StepUntilState(e, 3, 400, &shots), 0);
        ASSERT_GE(shots.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(shots[i].angle, 270) << "straight down";
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(Enemy1Test, DashingOffTheFieldIsAnEscape)
{
    StandingShip::Create(300.0f, 400.0f);
    Enemy1* e = Make(0, 140.0f);
    ASSERT_GT(StepUntilState(e, 2), 0);
    for (int i = 0; i < 1000 && IsLive(e); ++i) {
        RunTasks(kFrame);
    }
    EXPECT_FALSE(IsLive(e));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92);
    EXPECT_EQ(g_scoreTable->GetScore(), 0);
    auto labels = LiveOfClass<GradeLabel>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->grade, TimingGrade::Miss);
}

}  // namespace
