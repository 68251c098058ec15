// Points, multiplier, gauge and the high score.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "game/score/ScoreTable.h"

namespace {

constexpr TimingGrade E = TimingGrade::Exact;
constexpr TimingGrade N = TimingGrade::Near;
constexpr TimingGrade M = TimingGrade::Miss;

// A table as the title scene leaves it, then the given graded kills of 0 points.
ScoreTable TableAfter(const std::vector<TimingGrade>& grades)
{
    ScoreTable table;
    table.ResetForGame();
    for (TimingGrade g : grades) {
        table.AddGradedScore(0, g);
    }
    return table;
}

std::vector<TimingGrade> Repeat(TimingGrade g, int n)
{
    return std::vector<TimingGrade>(static_cast<std::size_t>(n), g);
}

TEST(ScoreTableState, FreshAndResetForGame)
{
    ScoreTable table;
    EXPECT_EQ(table.GetMultiplier(), 1);
    EXPECT_EQ(table.GetScore(), 0);
    EXPECT_EQ(table.GetHighScore(), 0);
    EXPECT_EQ(table.GetItemCount(), 0);
    for (std::uint8_t b : table.GetRankings()) {
        ASSERT_EQ(b, 0);
    }

    table.ResetForGame();
    table.AddGradedScore(100, E);
    table.CountItem();
    table.CountItem();
    table.ReduceGauge(30);
    EXPECT_EQ(table.GetItemCount(), 2);
    EXPECT_EQ(table.GetGauge(), 70);

    table.ResetForGame();
    EXPECT_EQ(table.GetMultiplier(), 0);
    EXPECT_EQ(table.GetScore(), 0);
    EXPECT_EQ(table.GetItemCount(), 0);
    EXPECT_EQ(table.GetGauge(), 100);
    EXPECT_EQ(table.GetHighScore(), 100);  // kept for the whole run
}

TEST(ScoreTableGrading, MultiplierFollowsTheGrades)
{
    struct Case {
        std::string name;
        std::vector<TimingGrade> grades;
        int multiplier;
        int gauge;
    };
    std::vector<TimingGrade> to256 = Repeat(E, 9);
    std::vector<TimingGrade> to256ThenNear = to256;
    to256ThenNear.push_back(N);
    std::vector<TimingGrade> to256ThenMiss = to256;
    to256ThenMiss.push_back(M);
    const Case cases[] = {
        {"first exact kill after the reset", {E}, 1, 100},
        {"exact doubles", {E, E, E}, 4, 100},
        {"doubling reaches 256", to256, 256, 100},
        {"256 stays 256", Repeat(E, 12), 256, 100},
        {"near halves", to256ThenNear, 128, 99},
        {"near at 1 stays 1", {E, N}, 1, 99},
        {"near right after the reset", {N}, 1, 99},
        {"miss resets to 1", to256ThenMiss, 1, 95},
        {"gauge adds up", {N, M, N, M}, 1, 88},
    };
    for (const Case& c : cases) {
        ScoreTable table = TableAfter(c.grades);
        EXPECT_EQ(table.GetMultiplier(), c.multiplier) << c.name;
        EXPECT_EQ(table.GetGauge(), c.gauge) << c.name;
    }
}

TEST(ScoreTableGrading, PointsAreScaledByGradeAndNewMultiplier)
{
    struct Case {
        std::string name;
        std::vector<TimingGrade> before;
        int points;
        TimingGrade grade;
        int scoreAdded;
    };
    const Case cases[] = {
        {"exact on a fresh game", {}, 200, E, 200},
        {"exact at 4 makes 8", {E, E, E}, 200, E, 1600},
        {"near halves points and multiplier", {E, E, E, E}, 30, N, 15 * 4},
        {"near of an odd value", {E}, 31, N, 15},
        {"miss of 30 is 7 at 1", Repeat(E, 5), 30, M, 7},
        {"miss of 3 is nothing", {}, 3, M, 0},
    };
    for (const Case& c : cases) {
        ScoreTable table = TableAfter(c.before);
        int before = table.GetScore();
        table.AddGradedScore(c.points, c.grade);
        EXPECT_EQ(table.GetScore() - before, c.scoreAdded) << c.name;
    }
}

TEST(ScoreTableGrading, ScoreStopsAtTheCap)
{
    ScoreTable table = TableAfter({E});
    table.AddScore(999999000);
    ASSERT_EQ(table.GetScore(), 999999000);
    for (int i = 0; i < 8; ++i) {
        table.AddGradedScore(0, E);
    }
    ASSERT_EQ(table.GetMultiplier(), 256);
    table.AddGradedScore(1000, E);
    EXPECT_EQ(table.GetScore(), ScoreTable::kScoreCap);
    EXPECT_EQ(table.GetHighScore(), ScoreTable::kScoreCap);

    // Far past the cap, where a narrow sum would wrap round to a negative score.
    table.AddScore(INT_MAX);
    table.AddGradedScore(INT_MAX, E);
    EXPECT_EQ(table.GetScore(), ScoreTable::kScoreCap);
}

TEST(ScoreTableGrading, AddScoreUsesTheMultiplierWithoutChangingIt)
{
    ScoreTable table = TableAfter({});
    table.AddScore(100);  // multiplier 0 until the first graded kill
    EXPECT_EQ(table.GetScore(), 0);
    table = TableAfter({E, E, E});
    table.AddScore(100);
    EXPECT_EQ(table.GetScore(), 400);
    EXPECT_EQ(table.GetMultiplier(), 4);
    EXPECT_EQ(table.GetGauge(), 100);
}

TEST(ScoreTableGrading, HighScoreFollowsTheBestScoreOfTheRun)
{
    ScoreTable table = TableAfter({E});
    table.AddScore(500);
    EXPECT_EQ(table.GetHighScore(), 500);
    table.ResetForGame();
    table.AddGradedScore(300, E);
    EXPECT_EQ(table.GetScore(), 300);
    EXPECT_EQ(table.GetHighScore(), 500);
    table.AddScore(300);
    EXPECT_EQ(table.GetHighScore(), 600);
}

TEST(ScoreTableGauge, HasNoLowerBound)
{
    ScoreTable table = TableAfter({});
    for (int i = 0; i < 4; ++i) {
        table.ReduceGauge(30);
    }
    EXPECT_EQ(table.GetGauge(), -20);
    table.ReduceGauge(8);
    EXPECT_EQ(table.GetGauge(), -28);
}

}  // namespace
