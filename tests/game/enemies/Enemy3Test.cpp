// Kind 3: the constant sinking, the aimed burst and the long gap of each level, the animation,
// and the escape at the bottom.
#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy3.h"
#include "game/score/GradeLabel.h"
#include "game/score/ScoreTable.h"
#include "tests/game/enemies/KindFixture.h"

namespace {

class Enemy3Test : public KindFixture {
protected:
    Enemy3* Make(int level, float y = -48.0f)
    {
        SetLevel(level);
        return Enemy3::Create(PriorityEnemy, 0, 200.0f, y);
    }
    static int AimFrom(const Enemy* e, const StandingShip* ship)
    {
        Point own, target;
        e->GetCenter(&own);
        ship->GetCenter(&target);
        return AngleDeg(own.x, own.y, target.x, target.y);
    }
};

TEST_F(Enemy3Test, SinksStraightDownAtTheLevelsConstantSpeed)
{
    struct Case {
        int level;
        float low, high;
    } cases[] = {{0, 60.0f, 60.0f}, {1, 50.0f, 69.0f}, {2, 30.0f, 49.0f}, {3, 50.0f, 69.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        for (int i = 0; i < 6; ++i) {
            Enemy3* e = Make(c.level);
            float speed = e->speed;
            EXPECT_GE(speed, c.low);
            EXPECT_LE(speed, c.high);
            for (int f = 0; f < 100; ++f) {
                Step(e);
            }
            EXPECT_FLOAT_EQ(e->speed, speed);
            EXPECT_FLOAT_EQ(e->x, 200.0f);
            EXPECT_NEAR(e->y, -48.0f + speed * 1.6f, 0.05f);
            g_taskList->KillAllLive();
            RunTasks();
        }
    }
}

TEST_F(Enemy3Test, FiresAnAimedBurstThenAtTheLongGap)
{
    struct Case {
        int level;
        float shotSpeed;
        bool pairs;
        int burst;  // firings at the short gap, the first included
        double gapIn, gapAfter;
    } cases[] = {
        {0, 160.0f, false, 9, 5.0, 120.0},
        {1, 180.0f, false, 9, 6.0, 60.0},
        {2, 200.0f, false, 11, 4.0, 20.0},
        {3, 200.0f, true, 11, 2.0, 15.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        StandingShip* ship = StandingShip::Create(300.0f, 400.0f);
        Enemy3* e = Make(c.level, 0.0f);
        std::vector<int> frames;
        for (int frame = 1; frame <= 600 && static_cast<int>(frames.size()) < c.burst + 3; ++frame) {
            auto fired = Step(e);
            if (fired.empty()) {
                continue;
            }
            frames.push_back(frame);
            ASSERT_EQ(fired.size(), c.pairs ? 2u : 1u);
            int aim = AimFrom(e, ship);
            const FiredShot& s = fired[0];
            EXPECT_EQ(s.kind, 5);
            EXPECT_FLOAT_EQ(s.cx, e->x + 24.0f) << "from the centre";
            EXPECT_FLOAT_EQ(s.cy, e->y + 24.0f);
            EXPECT_FLOAT_EQ(s.speed, c.shotSpeed);
            EXPECT_FLOAT_EQ(s.accel, 0.0f);
            EXPECT_FLOAT_EQ(s.limit, 0.0f);
            EXPECT_GE(s.angle, aim - 20) << "aimed at the ship with a spread";
            EXPECT_LE(s.angle, aim + 19);
            if (c.pairs) {
                const FiredShot& second = fired[1];
                EXPECT_EQ(second.kind, 5);
                EXPECT_EQ(second.angle, s.angle);
                EXPECT_FLOAT_EQ(second.cx, s.cx);
                EXPECT_FLOAT_EQ(second.cy, s.cy);
                EXPECT_FLOAT_EQ(second.speed, 200.0f);
                EXPECT_FLOAT_EQ(second.accel, 20.0f);
                EXPECT_FLOAT_EQ(second.limit, 0.0f);
            }
        }
        ASSERT_EQ(static_cast<int>(frames.size()), c.burst + 3);
        EXPECT_EQ(frames[0], 32) << "30 ticks: the first frame that leaves the timer below 0";
        for (size_t i = 1; i < frames.size(); ++i) {
            double gap = static_cast<int>(i) < c.burst ? c.gapIn : c.gapAfter;
            EXPECT_NEAR(frames[i] - frames[i - 1], gap / 0.96, 1.0) << "firing " << i;
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(Enemy3Test, ATimerLandingExactlyOnZeroFiresAFrameLater)
{
    struct Case {
        float frameTime;
        int firstFiring;
    } cases[] = {
        {0.016f, 32},     // 30 - 32 x 0.96 is below 0
        {0.015625f, 33},  // 30 - 32 x 0.9375 is exactly 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameTime);
        Enemy3* e = Make(0, 0.0f);
        int first = -1;
        for (int frame = 1; frame <= 60 && first < 0; ++frame) {
            if (!Step(e, c.frameTime).empty()) {
                first = frame;
            }
        }
        EXPECT_EQ(first, c.firstFiring);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(Enemy3Test, WithoutAShipTheAngleWandersFromRight)
{
    Enemy3L2* e = static_cast<Enemy3L2*>(Make(2, 0.0f));
    int previous = 0;
    int firings = 0;
    for (int frame = 1; frame <= 200; ++frame) {
        auto fired = Step(e);
        if (fired.empty()) {
            continue;
        }
        ++firings;
        EXPECT_GE(fired[0].angle, previous - 20);
        EXPECT_LE(fired[0].angle, previous + 19);
        EXPECT_EQ(e->shotAngle, fired[0].angle);
        previous = fired[0].angle;
    }
    EXPECT_GT(firings, 5);
}

TEST_F(Enemy3Test, AnimatesBackAndForthThroughThreeCells)
{
    Enemy3* e = Make(1, 0.0f);
    std::vector<int> sequence;
    std::vector<int> changeFrames;
    for (int frame = 1; frame <= 200; ++frame) {
        Step(e);
        int cell = DrawnCell(16);
        if (sequence.empty() || sequence.back() != cell) {
            sequence.push_back(cell);
            changeFrames.push_back(frame);
        }
    }
    std::vector<int> expected = {0, 1, 2, 1, 0, 1, 2, 1, 0, 1};
    EXPECT_EQ(sequence, expected);
    // 20 ticks a cell: the 21st frame finds the timer below 0.
    EXPECT_EQ(changeFrames[1], 21);
    EXPECT_EQ(changeFrames[2] - changeFrames[1], 21);
}

TEST_F(Enemy3Test, SinkingOutOfTheBottomIsAnEscape)
{
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE(level);
        g_scoreTable->ResetForGame();
        Enemy3* e = Make(level, 560.0f);
        for (int i = 0; i < 300 && IsLive(e); ++i) {
            RunTasks(kFrame);
        }
        EXPECT_FALSE(IsLive(e));
        EXPECT_EQ(g_scoreTable->GetGauge(), 92);
        EXPECT_EQ(g_scoreTable->GetScore(), 0);
        auto labels = LiveOfClass<GradeLabel>();
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->grade, TimingGrade::Miss);
        EXPECT_FLOAT_EQ(labels[0]->y, 464.0f) << "pulled back to the bottom edge";
        EXPECT_TRUE(LiveOfType(TaskType::FallingItem).empty());
        g_taskList->KillAllLive();
        RunTasks();
    }
}

}  // namespace
