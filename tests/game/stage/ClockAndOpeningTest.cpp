// The seconds clock, the stage opening and its intro target.
#include <algorithm>

#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/stage/GaugeDisplay.h"
#include "game/score/GradeLabel.h"
#include "game/enemies/IntroTarget.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "game/stage/StageOpening.h"
#include "tests/game/CombatFixture.h"

namespace {

class ClockAndOpeningTest : public CombatFixture {
protected:
    void SetUp() override
    {
        CombatFixture::SetUp();
        g_scoreTable->ResetForGame();
        g_sceneManager->SetLevel(0);
    }
};

TEST_F(ClockAndOpeningTest, SecondTurnsInAFrameOfItsOwn)
{
    struct Case {
        float frameTime;
        int framesStillAtZero;  // the last frame before the second turns
    } cases[] = {
        {0.016f, 63},  // 1008 ms after 63 frames; the 64th turns the second
        {0.5f, 3},     // 500, 1000 (not above), 1500
        {5.0f, 1},     // a very long frame: still one second at a time
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameTime);
        Clock* clock = Clock::Create(PriorityScreen, 296, 120);
        RunTasks(c.framesStillAtZero, c.frameTime);
        EXPECT_EQ(clock->GetSeconds(), 0);
        RunTasks(c.frameTime);
        EXPECT_EQ(clock->GetSeconds(), 1);
        EXPECT_FLOAT_EQ(clock->millis, 0.0f) << "the time above 1000 ms is dropped";
        RunTasks(c.framesStillAtZero + 1, c.frameTime);
        EXPECT_EQ(clock->GetSeconds(), 2);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(ClockAndOpeningTest, CountHoldsAtTheLastThreeDigitSecond)
{
    Clock* clock = Clock::Create(PriorityScreen, 296, 120);
    clock->seconds = 999;
    RunTasks(200);
    EXPECT_EQ(clock->GetSeconds(), 999);
    EXPECT_EQ(SpritesFrom(7).size(), 3u);
}

TEST_F(ClockAndOpeningTest, DigitsFollowTheIcon)
{
    struct Case {
        int seconds;
        std::vector<int> xs;
        std::vector<int> cells;
    } cases[] = {
        {0, {}, {}},
        {5, {352}, {5}},
        {42, {340, 352}, {4, 2}},
        {100, {328, 340, 352}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        Clock* clock = Clock::Create(PriorityScreen, 296, 120);
        clock->seconds = c.seconds;
        RunTasks();
        auto icon = SpritesFrom(6);
        ASSERT_EQ(icon.size(), 1u);
        EXPECT_EQ(icon[0].x, 296);
        EXPECT_EQ(icon[0].srcY, 24);
        auto digits = SpritesFrom(7);
        ASSERT_EQ(digits.size(), c.xs.size());
        for (std::size_t i = 0; i < digits.size(); ++i) {
            EXPECT_EQ(digits[i].x, c.xs[i]);
            EXPECT_EQ(digits[i].y, 127);
            EXPECT_EQ(digits[i].srcX, 12 * c.cells[i]);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(ClockAndOpeningTest, HigherLevelsShowTheClockOnlyAroundEveryThirtiethSecond)
{
    enum Shown { Plain, Faint, Hidden };
    struct Case {
        int level;
        int seconds;
        Shown shown;
    } cases[] = {
        {0, 50, Plain}, {0, 12, Plain},  {2, 9, Plain},   {2, 10, Faint},  {2, 11, Faint}, {2, 12, Hidden},
        {2, 38, Hidden}, {2, 39, Faint}, {2, 40, Plain},  {2, 41, Faint},  {2, 42, Hidden}, {2, 68, Hidden},
        {2, 70, Plain},  {1, 11, Faint}, {3, 100, Plain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " second " << c.seconds);
        g_sceneManager->SetLevel(c.level);
        Clock* clock = Clock::Create(PriorityScreen, 296, 120);
        clock->seconds = c.seconds;
        RunTasks();
        auto icon = SpritesFrom(6);
        auto digits = SpritesFrom(7);
        if (c.shown == Hidden) {
            EXPECT_TRUE(icon.empty());
            EXPECT_TRUE(digits.empty());
        } else {
            ASSERT_EQ(icon.size(), 1u);
            ASSERT_FALSE(digits.empty());
            unsigned alpha = c.shown == Faint ? 0x80u : 0xFFu;
            EXPECT_EQ(icon[0].colour >> 24, alpha);
            EXPECT_EQ(digits.back().colour >> 24, alpha);
        }
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(ClockAndOpeningTest, OpeningDestroysTheIntroTargetExactlyAndHandsOverAtSecondFour)
{
    StageOpening* opening = StageOpening::Create(PrioritySideFrame);
    auto clocks = LiveOfType(TaskType::Clock);
    auto targets = LiveOfType(TaskType::IntroTarget);
    ASSERT_EQ(clocks.size(), 1u);
    ASSERT_EQ(targets.size(), 1u);
    auto* clock = static_cast<Clock*>(clocks[0]);
    auto* target = static_cast<IntroTarget*>(targets[0]);
    EXPECT_EQ(target->targetSecond, 3);
    EXPECT_FLOAT_EQ(target->x, 224.0f);
    EXPECT_FLOAT_EQ(target->y, 192.0f);

    RunTasks();
    EXPECT_EQ(SpritesFrom(11).size(), 5u) << "the panel in five pieces";
    // The digit 3 at the target's bottom right, the bracket on level 0 only at second 3.
    auto digits = SpritesFrom(7);
    ASSERT_FALSE(digits.empty());
    EXPECT_EQ(digits[0].x, 260);
    EXPECT_EQ(digits[0].srcX, 36);
    // It blinks every other frame at 60 frames per second.
    int cell = SpritesFrom(15).at(0).srcX;
    RunTasks();
    EXPECT_NE(SpritesFrom(15).at(0).srcX, cell);

    int frames = 0;
    while (IsLive(target) && frames < 400) {
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(target));
    EXPECT_EQ(clock->GetSeconds(), 3);
    // An exact grade: the explosion's row 0 (its pieces run from the next frame), and no score,
    // multiplier, item or gauge change.
    RunTasks();
    ++frames;
    auto flash = SpritesFrom(21);
    ASSERT_FALSE(flash.empty());
    EXPECT_EQ(flash[0].srcY, 0);
    EXPECT_EQ(g_scoreTable->GetScore(), 0);
    EXPECT_EQ(g_scoreTable->GetMultiplier(), 0);
    EXPECT_EQ(g_scoreTable->GetGauge(), 100);
    EXPECT_TRUE(LiveOfType(TaskType::FallingItem).empty());
    auto labels = LiveOfClass<GradeLabel>();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->grade, TimingGrade::Exact);
    EXPECT_FLOAT_EQ(labels[0]->x, 232.0f);
    EXPECT_FLOAT_EQ(labels[0]->y, 208.0f);
    EXPECT_TRUE(LiveOfClass<GaugeDisplay>().empty());

    while (IsLive(opening) && frames < 800) {
        RunTasks();
        ++frames;
    }
    EXPECT_FALSE(IsLive(opening));
    EXPECT_EQ(clock->GetSeconds(), 4);
    EXPECT_EQ(SoundRequested(10), 1) << "the large explosion";
    EXPECT_EQ(clock->x, 444);
    EXPECT_EQ(clock->y, 448);
    EXPECT_EQ(LiveOfClass<GaugeDisplay>().size(), 1u);
    RunTasks();
    EXPECT_TRUE(SpritesFrom(11).empty()) << "the panel is gone";
    // The clock's icon, among the gauge's pieces of the same slot.
    auto slot6 = SpritesFrom(6);
    auto icon = std::find_if(slot6.begin(), slot6.end(),
                             [](const DrawnSprite& d) { return d.srcY == 24 && d.w == 32; });
    ASSERT_NE(icon, slot6.end());
    EXPECT_EQ(icon->x, 444);
    EXPECT_EQ(icon->y, 448);
}

TEST_F(ClockAndOpeningTest, OpeningWithoutAClockWaits)
{
    StageOpening* opening = StageOpening::Create(PrioritySideFrame);
    for (Task* t : LiveOfType(TaskType::Clock)) {
        g_taskList->Kill(t);
    }
    RunTasks(400);
    EXPECT_TRUE(IsLive(opening));
    EXPECT_EQ(LiveOfType(TaskType::IntroTarget).size(), 1u);
}

}  // namespace
