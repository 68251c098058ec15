// The score table's numbers as the side frame draws them.
#include "engine/GraphicsEngine.h"
#include "game/score/ScoreTable.h"
#include "platform/d3d9/RecordingDevice.h"
#include "tests/game/GameFixture.h"

namespace {

class ScoreDigitsTest : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        StartGame();
        ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    }
    // The source columns of the digits drawn by one call, checked for place and size.
    std::vector<int> Drawn(void (ScoreTable::*draw)(int, int) const, int x, int y)
    {
        RecordingDevice::From(g_graphicsEngine->GetDevice())->ClearCalls();
        (g_scoreTable->*draw)(x, y);
        std::vector<int> cells;
        auto sprites = Sprites();
        for (std::size_t k = 0; k < sprites.size(); ++k) {
            const DrawnSprite& s = sprites[k];
            EXPECT_EQ(s.slot, 7);
            EXPECT_EQ(s.x, x + 12 * static_cast<int>(k));
            EXPECT_EQ(s.y, y);
            EXPECT_EQ(s.w, 12);
            EXPECT_EQ(s.h, 18);
            EXPECT_EQ(s.srcY, 0);
            cells.push_back(s.srcX / 12);
        }
        return cells;
    }
};

TEST_F(ScoreDigitsTest, ScoreHasNineDigitsWithLeadingZeros)
{
    g_scoreTable->ResetForGame();
    g_scoreTable->AddGradedScore(1234, TimingGrade::Exact);  // multiplier 0 becomes 1
    EXPECT_EQ(Drawn(&ScoreTable::DrawScore, 268, 0), (std::vector<int>{0, 0, 0, 0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(Drawn(&ScoreTable::DrawHighScore, 268, 0), (std::vector<int>{0, 0, 0, 0, 0, 1, 2, 3, 4}));
}

TEST_F(ScoreDigitsTest, MultiplierIsTheSignAndOneToThreeDigits)
{
    struct Case {
        int gradedKills;
        std::vector<int> cells;  // 10 is the times sign
    } cases[] = {
        {0, {10, 0}},           // after the reset the multiplier is 0
        {1, {10, 1}},
        {5, {10, 1, 6}},
        {8, {10, 1, 2, 8}},
    };
    for (const Case& c : cases) {
        g_scoreTable->ResetForGame();
        for (int i = 0; i < c.gradedKills; ++i) {
            g_scoreTable->AddGradedScore(100, TimingGrade::Exact);
        }
        EXPECT_EQ(Drawn(&ScoreTable::DrawMultiplier, 128, 462), c.cells) << c.gradedKills << " exact kills";
    }
}

}  // namespace
