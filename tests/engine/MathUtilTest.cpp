#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <thread>

#include "engine/MathUtil.h"
#include "platform/win32/CRuntime.h"

namespace {

TEST(AngleDegTest, WholeDegreesRoundedDownWithTheSignedZero)
{
    struct Case {
        int x1, y1, expected;
    } cases[] = {
        {10, 0, 0},    {10, -10, 45},  {0, -10, 90},  {-10, -10, 135}, {-10, 10, 224},
        {0, 10, 269},  {10, 10, 314},  {-10, 0, 179}, {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AngleDeg(0, 0, c.x1, c.y1), c.expected) << "to (" << c.x1 << ", " << c.y1 << ")";
    }
    // Only the difference counts.
    EXPECT_EQ(AngleDeg(100, 200, 110, 190), 45);
}

TEST(RandomRangeTest, UsesTheRuntimeSequenceWithinHalfOpenRange)
{
    crt::srand(1);
    // The runtime's first values for seed 1.
    EXPECT_EQ(crt::rand(), 41);
    EXPECT_EQ(crt::rand(), 18467);
    EXPECT_EQ(crt::rand(), 6334);

    crt::srand(8461);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        int v = RandomRange(5, 2);
        ASSERT_GE(v, 2);
        ASSERT_LT(v, 5);
        seen.insert(v);
    }
    EXPECT_EQ(seen, (std::set<int>{2, 3, 4}));

    seen.clear();
    for (int i = 0; i < 5000; ++i) {
        int v = RandomRange(-20, 20);
        ASSERT_GE(v, -20);
        ASSERT_LT(v, 20);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 40u);

    // rand() % (b - a) + a, with the state advanced once per call.
    crt::srand(77);
    int expected = crt::rand() % 360;
    crt::srand(77);
    EXPECT_EQ(RandomRange(0, 360), expected);
}

TEST(RandomRangeTest, EachThreadHasItsOwnState)
{
    crt::srand(1);
    int other = 0;
    std::thread t([&] { other = crt::rand(); });
    t.join();
    EXPECT_EQ(other, 41);        // a new thread starts from seed 1
    EXPECT_EQ(crt::rand(), 41);  // and did not advance this thread's state
}

TEST(RectsOverlapTest, TouchingEdgesDoNotOverlap)
{
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {10, 0, 10, 10}));
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {0, 10, 10, 10}));
    EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {9.5f, 0, 10, 10}));
    EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {2, 2, 2, 2}));
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {-10, 0, 10, 10}));
}

TEST(AngleTablesTest, WholeDegreeValues)
{
    FillAngleTables();
    EXPECT_EQ(g_sinTable[90], 1.0f);
    EXPECT_NE(g_cosTable[90], 0.0f);
    EXPECT_LT(std::abs(g_cosTable[90]), 1e-6f);
    EXPECT_EQ(g_sinTable[270], -1.0f);
    EXPECT_EQ(g_cosTable[0], 1.0f);
    EXPECT_FLOAT_EQ(g_sinTable[30], 0.5f);
}

TEST(OffFieldTest, OutsideByMoreThanTwiceTheSize)
{
    // A 10x10 object: limits at x 108 and 532, y -20 and 500.
    struct Case {
        float x, y;
        bool off;
    } cases[] = {
        {108, 0, false}, {107.9f, 0, true}, {532, 0, false}, {532.1f, 0, true},
        {200, -20, false}, {200, -20.1f, true}, {200, 500, false}, {200, 500.1f, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOffField(c.x, c.y, 10, 10), c.off) << c.x << ", " << c.y;
    }
}

}  // namespace
