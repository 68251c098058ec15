// The stage-clear tally in its own scene: frame, banner, result lines, rank and the way out.
#include <algorithm>
#include <map>
#include <string>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/scenes/Fade.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "game/screens/StageClearTally.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

namespace {

class StageClearTallyTest : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        StartGame();
        ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    }
    // Enters the stage-clear scene; its first frame is the tally's first.
    void EnterStageClear()
    {
        g_sceneManager->SetNextScene(SceneState::StageClear);
        Frame();
        ASSERT_EQ(CurrentState(), static_cast<int>(SceneState::StageClear));
    }
    static StageClearTally* Tally()
    {
        for (Task* t = g_taskList->First(); t; t = t->next) {
            if (auto* tally = dynamic_cast<StageClearTally*>(t); tally && t->state == TaskState::Live) {
                return tally;
            }
        }
        return nullptr;
    }
    static int LiveFades()
    {
        int n = 0;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            n += dynamic_cast<Fade*>(t) && t->state == TaskState::Live ? 1 : 0;
        }
        return n;
    }
    static std::uint8_t Requested(SoundEffectId id) { return g_soundEffectBank->GetRequestFlags()[static_cast<int>(id)]; }

    // A key down for one frame, then up for two (so the next press is fresh again); the
    // sprites are those of the frame in which it went down.
    std::vector<DrawnSprite> Press(int virtualKey)
    {
        KeyDown(virtualKey);
        Frame();
        auto sprites = Sprites();
        pressSounds = {Requested(SoundEffectId::MenuSelect), Requested(SoundEffectId::TallyRank)};
        KeyUp(virtualKey);
        Frame();
        Frame();
        return sprites;
    }

    // The result lines drawn, by their labels.
    static int LinesShown(const std::vector<DrawnSprite>& sprites)
    {
        struct Label {
            int slot, y;
        } labels[] = {{24, 140}, {25, 180}, {24, 220}, {24, 260}};
        int shown = 0;
        for (const Label& l : labels) {
            shown += std::any_of(sprites.begin(), sprites.end(),
                                 [&](const DrawnSprite& s) { return s.slot == l.slot && s.x == 180 && s.y == l.y; });
        }
        return shown;
    }
    // The digits drawn on one line, read from left to right; each must sit 24 px left of the next,
    // the units digit at x 500.
    static std::string DigitsAt(const std::vector<DrawnSprite>& sprites, int y)
    {
        std::vector<DrawnSprite> digits;
        std::copy_if(sprites.begin(), sprites.end(), std::back_inserter(digits),
                     [&](const DrawnSprite& s) { return s.slot == 24 && s.srcY == 58 && s.y == y; });
        std::sort(digits.begin(), digits.end(), [](const DrawnSprite& a, const DrawnSprite& b) { return a.x < b.x; });
        std::string text;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            EXPECT_EQ(digits[i].x, 500 - 24 * static_cast<int>(digits.size() - 1 - i));
            EXPECT_EQ(std::tie(digits[i].w, digits[i].h), std::make_tuple(24, 38));
            text += static_cast<char>('0' + digits[i].srcX / 24);
        }
        return text;
    }
    static int Width(const std::vector<DrawnSprite>& sprites, int slot, int x, int y)
    {
        for (const DrawnSprite& s : sprites) {
            if (s.slot == slot && s.x == x && s.y == y) {
                return s.w;
            }
        }
        return 0;
    }
    // Reaches the rank line by four presses.
    void ShowAllLines()
    {
        EnterStageClear();
        Frame();
        for (int vk : {'Z', 'Z', 'Z', 'Z'}) {
            Press(vk);
        }
        ASSERT_EQ(Tally()->GetLineCount(), 4);
    }

    std::pair<int, int> pressSounds;
};

TEST_F(StageClearTallyTest, SceneDrawsTheFrameAroundThePicture)
{
    EnterStageClear();
    StageClearTally* tally = Tally();
    ASSERT_NE(tally, nullptr);
    EXPECT_EQ(tally->priority, 3072);
    EXPECT_EQ(tally->type, TaskType::Screen);

    struct Piece {
        int x, y, slot, srcX, srcY, w, h;
    };
    std::vector<Piece> expected = {
        {0, 0, 28, 0, 48, 100, 100},
        {540, 0, 28, 140, 48, 100, 100},
        {0, 380, 29, 0, 48, 100, 100},
        {540, 380, 29, 140, 48, 100, 100},
    };
    for (int i = 0; i < 11; ++i) {
        expected.push_back({100 + 40 * i, 0, 28, 100, 48, 40, 100});
    }
    for (int i = 0; i < 11; ++i) {
        expected.push_back({100 + 40 * i, 380, 29, 100, 48, 40, 100});
    }
    for (int i = 0; i < 7; ++i) {
        expected.push_back({0, 100 + 40 * i, 28, 0, 148, 100, 40});
    }
    for (int i = 0; i < 7; ++i) {
        expected.push_back({540, 100 + 40 * i, 28, 140, 148, 100, 40});
    }
    expected.push_back({70, 88, 26, 0, 0, 256, 256});
    expected.push_back({326, 88, 27, 0, 0, 244, 256});
    expected.push_back({70, 344, 28, 0, 0, 256, 48});
    expected.push_back({326, 344, 29, 0, 0, 244, 48});

    std::vector<DrawnSprite> frame;
    for (const DrawnSprite& s : Sprites()) {
        if (s.slot >= 26 && s.slot <= 29) {
            frame.push_back(s);
        }
    }
    ASSERT_EQ(frame.size(), expected.size());
    for (std::size_t i = 0; i < frame.size(); ++i) {
        SCOPED_TRACE(i);
        const Piece& e = expected[i];
        const DrawnSprite& s = frame[i];
        EXPECT_EQ(std::tie(s.x, s.y, s.slot, s.srcX, s.srcY, s.w, s.h),
                  std::tie(e.x, e.y, e.slot, e.srcX, e.srcY, e.w, e.h));
    }
    // The header: the words around the digit 1.
    auto sprites = Sprites();
    EXPECT_EQ(Width(sprites, 24, 230, 50), 80);
    EXPECT_EQ(Width(sprites, 24, 314, 52), 24);
    EXPECT_EQ(Width(sprites, 24, 340, 50), 82);
}

TEST_F(StageClearTallyTest, BannerSlidesInThenLinesFollowOneSecondApart)
{
    EnterStageClear();
    std::map<int, int> firstFrameWithLines;  // lines -> frame
    std::vector<int> menuSelectFrames, rankSoundFrames;
    int previousWidth = 0, debrisFrames = 0;
    for (int frame = 1; frame <= 330; ++frame) {
        if (frame > 1) {
            Frame();
        }
        auto sprites = Sprites();
        int lines = LinesShown(sprites);
        firstFrameWithLines.emplace(lines, frame);
        if (Requested(SoundEffectId::MenuSelect)) {
            menuSelectFrames.push_back(frame);
        }
        if (Requested(SoundEffectId::TallyRank)) {
            rankSoundFrames.push_back(frame);
        }
        // The banner: the first 256 px from slot 24, the rest from slot 25, never wider than 340.
        int left = Width(sprites, 24, 150, 340);
        int right = Width(sprites, 25, 406, 340);
        EXPECT_TRUE(right == 0 || left == 256) << frame;
        EXPECT_LE(right, 84) << frame;
        EXPECT_GE(left + right, previousWidth) << frame;
        previousWidth = left + right;
        if (frame <= 63) {
            debrisFrames += !SpritesFrom(21).empty();
        }
        if (frame == 64) {
            EXPECT_EQ(std::make_pair(left, right), std::make_pair(256, 84));
        }
    }
    EXPECT_EQ(debrisFrames, 63) << "sparks thrown from the banner's edge while it slides";
    // 340 px at 340 px/s: 63 steps, and the frame after them starts line 1; each later line
    // follows 63 frames of countdown and the frame that sees it below 0.
    EXPECT_EQ(menuSelectFrames, (std::vector<int>{64, 128, 192}));
    EXPECT_EQ(rankSoundFrames, (std::vector<int>{256}));
    EXPECT_EQ(firstFrameWithLines, (std::map<int, int>{{0, 1}, {1, 65}, {2, 129}, {3, 193}, {4, 257}}));
    EXPECT_EQ(CurrentState(), static_cast<int>(SceneState::StageClear)) << "the rank waits for a key";
    EXPECT_EQ(LiveFades(), 0);
}

TEST_F(StageClearTallyTest, KeysSkipAheadAndAfterTheRankFadeToTheTitle)
{
    // A key still held from the stage is no press.
    KeyDown('Z');
    EnterStageClear();
    for (int i = 0; i < 5; ++i) {
        Frame();
    }
    KeyUp('Z');
    Frame();
    Frame();
    ASSERT_EQ(Tally()->GetLineCount(), 0);

    struct Step {
        int key;
        int lines;
        std::pair<int, int> sounds;  // select, rank
    } steps[] = {
        {'X', 1, {1, 0}},  // during the slide-in: the whole banner and line 1 at once
        {'C', 2, {1, 0}},
        {'V', 3, {1, 0}},
        {'Z', 4, {0, 1}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.lines);
        auto sprites = Press(s.key);
        EXPECT_EQ(LinesShown(sprites), s.lines);
        EXPECT_EQ(pressSounds, s.sounds);
        EXPECT_EQ(Width(sprites, 24, 150, 340) + Width(sprites, 25, 406, 340), 340);
    }
    EXPECT_EQ(LiveFades(), 0);
    Press('Z');
    EXPECT_EQ(LiveFades(), 1);
    Press('V');
    EXPECT_EQ(LiveFades(), 2) << "each press adds a fade";
    EXPECT_EQ(pressSounds, std::make_pair(0, 0));
    EXPECT_TRUE(RunUntil(SceneState::Title, 20));
}

TEST_F(StageClearTallyTest, NumbersRightAlignedWithoutLeadingZeros)
{
    ShowAllLines();
    struct Case {
        int items, gauge, score;
        const char *itemText, *lossText, *scoreText;
    } cases[] = {
        {0, 100, 0, "0", "0", "0"},
        {7, 95, 12345, "7", "5", "12345"},
        {123456, 55, 999999990, "123456", "45", "999999990"},
        // Beyond the usual places: a used-up gauge and a seven-digit count still show digits.
        {1000000, 0, 5, "1000000", "100", "5"},
        {40, -30, 250, "40", "130", "250"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemText);
        g_scoreTable->ResetForGame();
        for (int i = 0; i < c.items; ++i) {
            g_scoreTable->CountItem();
        }
        g_scoreTable->ReduceGauge(100 - c.gauge);
        g_scoreTable->AddGradedScore(c.score, TimingGrade::Exact);  // at multiplier 1
        ASSERT_EQ(g_scoreTable->GetScore(), c.score);
        Frame();
        auto sprites = Sprites();
        EXPECT_EQ(DigitsAt(sprites, 140), c.itemText);
        EXPECT_EQ(DigitsAt(sprites, 180), c.lossText);
        EXPECT_EQ(DigitsAt(sprites, 220), c.scoreText);
    }
}

TEST_F(StageClearTallyTest, RankFromGaugeLossAndLevel)
{
    ShowAllLines();
    struct Case {
        int level, loss, cell;
        bool plus;
    } cases[] = {
        {0, 0, 0, true},   {0, 1, 0, false},  {0, 5, 0, false},  {0, 6, 1, true},   {0, 15, 1, false},
        {0, 16, 2, true},  {0, 30, 2, true},  {0, 50, 2, false}, {0, 70, 3, true},  {0, 71, 3, false},
        {2, 8, 0, true},   {2, 9, 0, false},  {3, 12, 0, true},  {3, 13, 0, false}, {3, 17, 0, false},
        {3, 18, 1, true},  {3, 25, 1, true},  {3, 30, 1, false}, {3, 45, 2, true},  {3, 65, 2, false},
        {3, 85, 3, true},  {3, 86, 3, false}, {3, 100, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " loss " << c.loss);
        g_sceneManager->SetLevel(c.level);
        g_scoreTable->ResetForGame();
        g_scoreTable->ReduceGauge(c.loss);
        Frame();
        auto sprites = Sprites();
        EXPECT_EQ(Width(sprites, 24, 180, 260), 80) << "the rank label";
        std::vector<DrawnSprite> glyphs;
        std::copy_if(sprites.begin(), sprites.end(), std::back_inserter(glyphs),
                     [](const DrawnSprite& s) { return s.slot == 24 && s.srcY == 96; });
        ASSERT_EQ(glyphs.size(), c.plus ? 2u : 1u);
        const DrawnSprite& rank = glyphs.front();
        EXPECT_EQ(std::tie(rank.x, rank.y, rank.srcX, rank.w, rank.h),
                  std::make_tuple(c.plus ? 456 : 490, 260, 34 * c.cell, 34, 40));
        if (c.plus) {
            EXPECT_EQ(std::tie(glyphs[1].x, glyphs[1].y, glyphs[1].srcX), std::make_tuple(490, 260, 136));
        }
    }
}

}  // namespace
