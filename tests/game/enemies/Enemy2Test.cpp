// Kind 2: entry and stop, the pairs of each level, level 3's fan, the climb and the escape.
#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/enemies/Enemy2.h"
#include "game/score/GradeLabel.h"
#include "game/score/ScoreTable.h"
#include "tests/game/enemies/KindFixture.h"

namespace {

class Enemy2Test : public KindFixture {
protected:
    Enemy2* Make(int level, int param = 0)
    {
        SetLevel(level);
        return Enemy2::Create(PriorityEnemy, param, 200.0f, -48.0f);
    }
    static void ExpectPair(const std::vector<FiredShot>& shots, size_t at, int left, int right, const Enemy* e)
    {
        ASSERT_GE(shots.size(), at + 2);
        for (size_t i = at; i < at + 2; ++i) {
            EXPECT_EQ(shots[i].kind, 2);
            EXPECT_FLOAT_EQ(shots[i].speed, 200.0f);
            EXPECT_FLOAT_EQ(shots[i].accel, 0.0f);
            EXPECT_EQ(shots[i].cell, 0);
            EXPECT_FLOAT_EQ(shots[i].cx, e->x + 24.0f);
            EXPECT_FLOAT_EQ(shots[i].cy, e->y + 37.0f);
        }
        EXPECT_EQ(shots[at].angle, left);
        EXPECT_EQ(shots[at + 1].angle, right);
    }
};

TEST_F(Enemy2Test, EntersBlinkingTintedAndStopsAfterTwoSeconds)
{
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE(level);
        Enemy2* e = Make(level);
        std::vector<int> cells;
        int frames = 0;
        while (e->stateIndex == 0 && frames < 400) {
            Step(e);
            ++frames;
            auto sprites = SpritesFrom(15);
            ASSERT_EQ(sprites.size(), 1u);
            EXPECT_EQ(sprites[0].colour, 0xFF80D0FFu) << "light-blue tint";
            cells.push_back(sprites[0].srcX / 48);
        }
        ASSERT_EQ(e->stateIndex, 1);
        EXPECT_NEAR(frames, 2.0 / 0.016, 2.0);
        EXPECT_NEAR(e->y, -48.0f + 160.0f, 3.0f);
        EXPECT_EQ(cells[0], 0);
        EXPECT_EQ(cells[1], 1);
        EXPECT_EQ(cells[2], 1);
        EXPECT_EQ(cells[3], 0);
        if (level == 0) {
            EXPECT_FLOAT_EQ(e->speed, 5.0f);
            EXPECT_EQ(e->direction, 90);
        } else {
            EXPECT_FLOAT_EQ(e->speed, 0.0f);
            EXPECT_EQ(e->direction, 270);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(Enemy2Test, EachLevelFiresItsPairsAndTurnsToLeave)
{
    struct Case {
        int level;
        int pairs;
        int widePairs;
        int firstGapFrames;  // 60 ticks after the stop
        int gapFrames;       // between pairs
        bool fan;
    } cases[] = {
        {0, 2, 0, 64, 64, false},
        {1, 3, 0, 64, 22, false},
        {2, 12, 6, 64, 5, false},
        {3, 12, 6, 64, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        Enemy2* e = Make(c.level);
        ASSERT_GT(StepUntilState(e, 1), 0);
        float stopY = e->y;
        std::vector<int> pairFrames;
        int shotsInAll = 0;
        int frame = 0;
        bool blankTurn = false;
        while (e->stateIndex == 1 && frame < 400) {
            ++frame;
            auto fired = Step(e);
            if (e->stateIndex == 2) {
                EXPECT_TRUE(fired.empty());
                EXPECT_EQ(DrawnCell(15), -1) << "the turning frame draws no enemy";
                blankTurn = true;
                break;
            }
            EXPECT_EQ(DrawnCell(15) == 4, c.level > 0) << "levels 1 to 3 show the firing cell";
            if (fired.empty()) {
                continue;
            }
            int count = static_cast<int>(pairFrames.size());
            pairFrames.push_back(frame);
            shotsInAll += static_cast<int>(fired.size());
            bool wide = count < c.widePairs;
            ExpectPair(fired, 0, wide ? 240 : 260, wide ? 300 : 280, e);
            if (c.fan && count == 6) {
                ASSERT_EQ(fired.size(), 9u);
                for (int i = 0; i < 7; ++i) {
                    EXPECT_EQ(fired[2 + i].kind, 1);
                    EXPECT_EQ(fired[2 + i].angle, 240 + 10 * i);
                    EXPECT_FLOAT_EQ(fired[2 + i].speed, 180.0f);
                }
            } else {
                EXPECT_EQ(fired.size(), 2u);
            }
        }
        EXPECT_TRUE(blankTurn);
        ASSERT_EQ(static_cast<int>(pairFrames.size()), c.pairs);
        EXPECT_EQ(pairFrames[0], c.firstGapFrames);
        for (size_t i = 1; i < pairFrames.size(); ++i) {
            EXPECT_EQ(pairFrames[i] - pairFrames[i - 1], c.gapFrames) << "pair " << i;
        }
        EXPECT_EQ(shotsInAll, 2 * c.pairs + (c.fan ? 7 : 0));
        if (c.level == 0) {
            EXPECT_LT(e->y, stopY) << "level 0 drifts up while it fires";
        } else {
            EXPECT_FLOAT_EQ(e->y, stopY) << "levels 1 to 3 stand still";
            EXPECT_FLOAT_EQ(e->speed, 0.0f);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(Enemy2Test, ClimbsOffTheTopAndEscapes)
{
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE(level);
        g_scoreTable->ResetForGame();
        g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
        g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
        int multiplier = g_scoreTable->GetMultiplier();
        Enemy2* e = Make(level, 4);
        ASSERT_GT(StepUntilState(e, 2), 0);
        float startSpeed = e->speed;
        EXPECT_FLOAT_EQ(startSpeed, level == 0 ? 5.0f : 0.0f);
        EXPECT_EQ(e->direction, 90);
        float y = e->y;
        Step(e);
        EXPECT_LT(e->y, y + 0.001f);
        EXPECT_EQ(DrawnCell(15), 2);
        // Two seconds at 80 px/s per second bring it to 160 px/s, still inside the field.
        for (int i = 0; i < 130; ++i) {
            Step(e);
        }
        ASSERT_EQ(e->state, TaskState::Live);
        EXPECT_GE(e->speed, 160.0f);
        EXPECT_LT(e->speed, 160.0f + 80.0f * 0.016f + 0.001f);
        for (int i = 0; i < 1000 && IsLive(e); ++i) {
            RunTasks(kFrame);
        }
        EXPECT_FALSE(IsLive(e));
        EXPECT_EQ(g_scoreTable->GetGauge(), 92);
        EXPECT_EQ(g_scoreTable->GetScore(), 0);
        EXPECT_EQ(g_scoreTable->GetMultiplier(), multiplier) << "an escape leaves the multiplier";
        auto labels = LiveOfClass<GradeLabel>();
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->grade, TimingGrade::Miss);
        EXPECT_FLOAT_EQ(labels[0]->y, 0.0f) << "pulled back to the top edge";
        g_taskList->KillAllLive();
        RunTasks();
    }
}

}  // namespace
