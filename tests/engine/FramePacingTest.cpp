#include <gtest/gtest.h>

#include <vector>

#include "engine/Application.h"
#include "engine/EngineTestHooks.h"
#include "platform/win32/Win32Clock.h"

namespace {

class FramePacingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClock(&clock);
        ResetFramePacing();
    }
    void TearDown() override { SetClock(nullptr); }

    // Runs the pacing until it grants a frame; returns the skip flag of that frame.
    std::uint8_t NextFrame()
    {
        std::uint8_t skip = 0;
        while (!PaceFrame(skip)) {
        }
        return skip;
    }

    VirtualClock clock{1000};
};

TEST_F(FramePacingTest, NoFrameBeforeSixteenMillisecondsAndTheRestIsSlept)
{
    std::uint8_t skip = 0;
    EXPECT_FALSE(PaceFrame(skip));  // the first call only starts the clock
    EXPECT_EQ(clock.NowMs(), 1016u);  // and sleeps the rest of the 16 ms
    EXPECT_TRUE(PaceFrame(skip));
    clock.Advance(5);
    EXPECT_FALSE(PaceFrame(skip));
    EXPECT_EQ(clock.NowMs(), 1032u);
    EXPECT_TRUE(PaceFrame(skip));
    EXPECT_FLOAT_EQ(g_fps, 62.5f);
}

TEST_F(FramePacingTest, FrameTimeIsOneFixedStepEvenAfterALongStall)
{
    NextFrame();
    clock.Advance(5000);
    g_frameTime = 0.0f;
    NextFrame();
    EXPECT_EQ(g_frameTime, 0.016f);
    EXPECT_FLOAT_EQ(g_fps, 0.2f);
}

TEST_F(FramePacingTest, BelowFortyFiveFramesThreeInFourSkipDrawing)
{
    std::vector<int> drawn;
    for (int frame = 0; frame < 64; ++frame) {
        clock.Advance(30);  // about 33 frames per second
        if (NextFrame() == 0) {
            drawn.push_back(frame);
        }
    }
    // Counters 0, 4, ... 56 are drawn; the counter wraps at 60, so frame 60 is drawn again.
    std::vector<int> expected;
    for (int f = 0; f < 60; f += 4) {
        expected.push_back(f);
    }
    expected.push_back(60);
    EXPECT_EQ(drawn, expected);
}

TEST_F(FramePacingTest, AtFullRateEveryFrameIsDrawn)
{
    for (int frame = 0; frame < 20; ++frame) {
        EXPECT_EQ(NextFrame(), 0) << frame;
    }
}

TEST_F(FramePacingTest, ClockWrapDoesNoHarm)
{
    clock.Set(0xFFFFFFF8u);
    NextFrame();
    clock.Advance(20);  // wraps past zero
    std::uint8_t skip = 0;
    EXPECT_TRUE(PaceFrame(skip));
    EXPECT_FLOAT_EQ(g_fps, 50.0f);
}

}  // namespace
