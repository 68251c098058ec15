// The gauge bar, the grade labels and the boss warning, drawn on the recording device.
#include <algorithm>
#include <optional>

#include "game/stage/GaugeDisplay.h"
#include "game/score/GradeLabel.h"
#include "game/score/ScoreTable.h"
#include "game/scenes/TextureSlotMap.h"
#include "game/stage/WarningBanner.h"
#include "tests/game/screens/TaskFixture.h"

namespace {

class HudTest : public TaskFixture {
protected:
    static void SetGauge(int gauge)
    {
        g_scoreTable->ResetForGame();
        g_scoreTable->ReduceGauge(100 - gauge);
    }
};

TEST_F(HudTest, GaugeBarFollowsTheGauge)
{
    struct Bar {
        int y, srcY, h;
    };
    struct Case {
        int gauge;
        std::optional<Bar> bar;
        int pointerY;
    } cases[] = {
        {100, Bar{261, 56, 200}, 258},
        {73, Bar{315, 110, 146}, 312},
        {50, Bar{361, 156, 100}, 358},
        {1, Bar{459, 254, 2}, 456},
        {0, std::nullopt, 458},
        {-12, std::nullopt, 458},  // used up during the game-over fade
    };
    GaugeDisplay::Create(PriorityGauge);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gauge);
        SetGauge(c.gauge);
        RunTasks();
        auto pieces = SpritesFrom(6);
        ASSERT_EQ(pieces.size(), c.bar ? 4u : 3u);
        const DrawnSprite& cap = pieces.front();
        EXPECT_EQ(std::tie(cap.x, cap.y, cap.srcX, cap.srcY, cap.w, cap.h), std::make_tuple(56, 241, 228, 31, 28, 15));
        if (c.bar) {
            const DrawnSprite& bar = pieces[1];
            EXPECT_EQ(std::tie(bar.x, bar.y, bar.srcX, bar.srcY, bar.w, bar.h),
                      std::make_tuple(61, c.bar->y, 216, c.bar->srcY, 15, c.bar->h));
            EXPECT_EQ(bar.y + bar.h, 461) << "the bar's bottom stays put";
        }
        const DrawnSprite& frame = pieces[pieces.size() - 2];
        EXPECT_EQ(std::tie(frame.x, frame.y, frame.srcX, frame.srcY, frame.w, frame.h),
                  std::make_tuple(56, 256, 231, 46, 25, 210))
            << "the frame over the bar";
        const DrawnSprite& pointer = pieces.back();
        EXPECT_EQ(std::tie(pointer.x, pointer.y, pointer.srcX, pointer.srcY, pointer.w, pointer.h),
                  std::make_tuple(53, c.pointerY, 208, 251, 8, 5));
    }
}

TEST_F(HudTest, GradeLabelBlinksThirtyOneTimesThenGoes)
{
    struct Case {
        TimingGrade grade;
        float frameTime;
        int framesPerShowing;
    } cases[] = {
        {TimingGrade::Exact, 0.016f, 2},         // the game's fixed step: 0.96 ticks a frame
        {TimingGrade::Near, 1.0f / 60.0f, 1},    // every other frame
        {TimingGrade::Miss, 1.0f / 30.0f, 1},    // a slow machine: whole frames, so about two seconds
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.grade));
        GradeLabel::Create(PriorityGradeLabel, 100.7f, 50.9f, c.grade);
        std::vector<bool> drawn;
        while (LiveTasks() > 0 && drawn.size() < 400) {
            RunTasks(c.frameTime);
            auto words = SpritesFrom(12);
            ASSERT_LE(words.size(), 1u);
            for (const DrawnSprite& w : words) {
                EXPECT_EQ(std::tie(w.x, w.y, w.srcX, w.srcY, w.w, w.h),
                          std::make_tuple(100, 50, 0, 16 * static_cast<int>(c.grade), 40, 16));
            }
            drawn.push_back(!words.empty());
        }
        ASSERT_EQ(LiveTasks(), 0);
        // Showings of equal length, each followed by one blank frame; the last blank frame ends it.
        std::vector<int> showings;
        for (std::size_t i = 0; i < drawn.size();) {
            if (!drawn[i]) {
                EXPECT_TRUE(i + 1 == drawn.size() || drawn[i + 1]) << "single blank frames only, at " << i;
                ++i;
                continue;
            }
            int length = 0;
            for (; i < drawn.size() && drawn[i]; ++i) {
                ++length;
            }
            showings.push_back(length);
        }
        EXPECT_EQ(showings.size(), 31u);
        EXPECT_TRUE(std::all_of(showings.begin(), showings.end(), [&](int n) { return n == c.framesPerShowing; }));
        EXPECT_EQ(drawn.size(), 31u * c.framesPerShowing + 31u);
    }
}

class WarningBannerTest : public HudTest {
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        ASSERT_EQ(LoadTextureGroup(kStageTextures, 1, 3), nullptr);
    }
};

TEST_F(WarningBannerTest, AlarmBandsAndMessageByLevel)
{
    struct Piece {
        int x, srcY, w;
    };
    struct Case {
        int level;
        Piece first, second;
    } cases[] = {
        {0, {188, 40, 72}, {260, 104, 192}},
        {2, {188, 40, 72}, {260, 104, 192}},
        {3, {158, 72, 140}, {300, 104, 192}},  // the wider word of the hardest level
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        g_sceneManager->SetLevel(c.level);
        ClearRequests();
        Task* banner = WarningBanner::Create(PriorityEnemy);
        EXPECT_EQ(banner->type, TaskType::Inert);
        EXPECT_EQ(Requested(SoundEffectId::Warning), 1) << "the alarm is asked for at once";
        RunTasks();
        auto pieces = SpritesFrom(13);
        ASSERT_EQ(pieces.size(), 10u);
        // Scrolled 1.28 px from 128: four tiles in each band, the lower band 100 px down.
        for (int i = 0; i < 4; ++i) {
            const DrawnSprite& upper = pieces[2 * i];
            const DrawnSprite& lower = pieces[2 * i + 1];
            EXPECT_EQ(std::tie(upper.x, upper.y, upper.srcX, upper.srcY, upper.w, upper.h),
                      std::make_tuple(126 + 136 * i, 160, 0, 0, 136, 40));
            EXPECT_EQ(std::tie(lower.x, lower.y), std::make_tuple(126 + 136 * i, 260));
        }
        EXPECT_EQ(std::tie(pieces[8].x, pieces[8].y, pieces[8].srcY, pieces[8].w, pieces[8].h),
                  std::make_tuple(c.first.x, 210, c.first.srcY, c.first.w, 32));
        EXPECT_EQ(std::tie(pieces[9].x, pieces[9].y, pieces[9].srcY, pieces[9].w, pieces[9].h),
                  std::make_tuple(c.second.x, 210, c.second.srcY, c.second.w, 32));
        for (const DrawnSprite& p : pieces) {
            EXPECT_EQ(p.colour, 0xFFFFFFFFu);
        }
        g_taskList->Kill(banner);
        RunTasks();
    }
}

TEST_F(WarningBannerTest, ScrollsForFourSecondsThenFadesForOne)
{
    for (float frameTime : {0.016f, 0.032f}) {
        SCOPED_TRACE(frameTime);
        WarningBanner::Create(PriorityEnemy);
        std::vector<int> bandX;
        std::vector<unsigned> alpha;
        while (LiveTasks() > 0 && alpha.size() < 1000) {
            RunTasks(frameTime);
            auto pieces = SpritesFrom(13);
            ASSERT_EQ(pieces.size(), 10u);
            bandX.push_back(pieces[0].x);
            alpha.push_back(pieces[0].colour >> 24);
            EXPECT_EQ(pieces[0].colour & 0x00FFFFFFu, 0x00FFFFFFu);
        }
        ASSERT_EQ(LiveTasks(), 0);
        // The bands move left and jump back by one 136-pixel tile before they leave x -8.
        int wraps = 0;
        for (std::size_t i = 1; i < bandX.size(); ++i) {
            ASSERT_GT(bandX[i], -8);
            ASSERT_LE(bandX[i], 128);
            if (bandX[i] > bandX[i - 1]) {
                ++wraps;
                EXPECT_NEAR(bandX[i] - bandX[i - 1], 136 - 80 * frameTime, 2.0) << "whole pixels of both";
            }
        }
        EXPECT_EQ(wraps, 2) << "400 px in five seconds: a wrap every 136 px";
        auto firstFaded = std::find_if(alpha.begin(), alpha.end(), [](unsigned a) { return a < 255; });
        double fullSeconds = (firstFaded - alpha.begin()) * frameTime;
        double allSeconds = alpha.size() * frameTime;
        // Within two frames: one for the step that crosses a limit, one for the draw before it.
        EXPECT_NEAR(fullSeconds, 4.0, 2.5 * frameTime);
        EXPECT_NEAR(allSeconds - fullSeconds, 1.0, 2.5 * frameTime);
        EXPECT_TRUE(std::is_sorted(firstFaded, alpha.end(), std::greater<unsigned>()));
        EXPECT_GT(alpha.back(), 0u) << "never drawn at alpha 0 or below";
    }
}

}  // namespace
