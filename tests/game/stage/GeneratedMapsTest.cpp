// The shipped stage maps: each parses, uses only the codes the map knows, and is laid out as a
// stage must be: enemies that can be reached on their seconds, the warning and then the boss last.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/MusicController.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "tests/game/stage/MapProbe.h"
#include "tests/game/stage/StageRun.h"

namespace {

constexpr int kLevels = 4;

std::vector<unsigned char> ShippedMap(int level)
{
    std::ifstream in(std::string(PROGRAM_DIR) + "/emap/emap1_" + std::to_string(level) + ".bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool IsEnemy(int code)
{
    return code >= 1 && code <= 5;
}

// Where the map's 255 means a random offset; anywhere else it would put the target second
// minutes away.
bool RandomOffsetOn(int kind, int level)
{
    return kind == 1 || kind == 2 || kind == 4 || (kind == 3 && level == 2);
}

int EnemyCells(const std::vector<unsigned char>& bytes)
{
    int n = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        n += IsEnemy(bytes[i]) ? 1 : 0;
    }
    return n;
}

TEST(GeneratedMaps, EveryMapIsWholeRowsOfKnownCellsEndingWithTheBoss)
{
    for (int level = 0; level < kLevels; ++level) {
        SCOPED_TRACE(level);
        std::vector<unsigned char> bytes = ShippedMap(level);
        ASSERT_FALSE(bytes.empty());
        ASSERT_EQ(bytes.size() % 24, 0u);
        const int rows = static_cast<int>(bytes.size() / 24);
        int warningRow = -1, bossRow = -1, bossTrackRow = -1;
        for (int r = 0; r < rows; ++r) {
            int lastEnemyColumn = -2;
            for (int c = 0; c < 12; ++c) {
                int code = bytes[24 * r + 2 * c];
                int param = bytes[24 * r + 2 * c + 1];
                SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
                if (code == 0) {
                    EXPECT_EQ(param, 0);
                } else if (IsEnemy(code)) {
                    EXPECT_NE(param, 0) << "every enemy shows a target second";
                    if (param == 255) {
                        EXPECT_TRUE(RandomOffsetOn(code, level));
                    } else {
                        EXPECT_LE(param, 10) << "a target second the enemy lives to see";
                    }
                    EXPECT_GE(c - lastEnemyColumn, 2) << "enemies 48 px wide may not overlap";
                    lastEnemyColumn = c;
                } else if (code == 0x40) {
                    EXPECT_EQ(warningRow, -1);
                    warningRow = r;
                } else if (code == 0x70) {
                    EXPECT_EQ(bossRow, -1);
                    bossRow = r;
                } else if (code == 0x80) {
                    EXPECT_GE(param, 4) << "the scene plays the stage track itself";
                    EXPECT_LE(param, 5) << "tracks 4 and 5 are the map's own";
                    if (param == 4) {
                        bossTrackRow = r;
                    }
                } else {
                    ADD_FAILURE() << "unknown code " << code;
                }
            }
        }
        EXPECT_EQ(bossRow, rows - 1) << "the boss ends the map";
        EXPECT_EQ(bossTrackRow, warningRow) << "the boss track comes with the warning";
        // The banner shows for about five seconds before the boss comes in.
        EXPECT_GE(bossRow - warningRow, 4);
        EXPECT_LE(bossRow - warningRow, 6);
    }
}

TEST(GeneratedMaps, HarderLevelsSendEnemiesCloserTogether)
{
    auto perRow = [](int level) {
        std::vector<unsigned char> bytes = ShippedMap(level);
        return bytes.empty() ? 0.0 : EnemyCells(bytes) * 24.0 / static_cast<double>(bytes.size());
    };
    for (int level = 1; level < kLevels; ++level) {
        EXPECT_GT(perRow(level), perRow(level - 1)) << level;
    }
}

// Enemy cells per row in rows [from, to).
double EnemiesPerRow(const std::vector<unsigned char>& bytes, int from, int to)
{
    int n = 0;
    for (int r = from; r < to; ++r) {
        for (int c = 0; c < 12; ++c) {
            n += IsEnemy(bytes[24 * r + 2 * c]) ? 1 : 0;
        }
    }
    return n / static_cast<double>(to - from);
}

int RowOf(const std::vector<unsigned char>& bytes, int code)
{
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == code) {
            return static_cast<int>(i / 24);
        }
    }
    return -1;
}

TEST(GeneratedMaps, EveryLevelBuildsTowardItsBoss)
{
    for (int level = 0; level < kLevels; ++level) {
        SCOPED_TRACE(level);
        std::vector<unsigned char> bytes = ShippedMap(level);
        const int warning = RowOf(bytes, 0x40);
        ASSERT_GT(warning, 8);
        // The quarters of the map before the warning: none quieter than the one before it, and
        // the run-in to the boss clearly busier than the opening.
        const int q = warning / 4;
        double previous = 0.0;
        for (int i = 0; i < 4; ++i) {
            double quarter = EnemiesPerRow(bytes, i * q, i == 3 ? warning : (i + 1) * q);
            EXPECT_GE(quarter, previous) << "quarter " << i;
            previous = quarter;
        }
        EXPECT_GE(previous, 1.3 * EnemiesPerRow(bytes, 0, q));
    }
}

TEST(GeneratedMaps, TheFirstBossFormsTargetComesSoonAfterItArrives)
{
    // The first form's target second is the clock at its arrival plus the cell's parameter and a
    // spread of a few seconds; a form shot more than five seconds early waits, unhittable, until
    // six seconds after it. A short parameter keeps both the wait for an on-time kill and the
    // hover after an early one to a few seconds.
    for (int level : {0, 2, 3}) {
        SCOPED_TRACE(level);
        std::vector<unsigned char> bytes = ShippedMap(level);
        const int boss = RowOf(bytes, 0x70);
        ASSERT_GE(boss, 0);
        const int param = bytes[24 * boss + 1];
        EXPECT_GE(param, level == 3 ? 8 : 6) << "time for the form to come in (the level-3 form rises untouchable)";
        EXPECT_LE(param, 12);
    }
}

// Each level's stage played with no input: every map enemy is in reach of the ship's shots, on
// the field and hittable, for at least a quarter of its target second, and none escapes before
// it; the map reaches its boss.
class ShippedStage : public StageRun, public testing::WithParamInterface<int> {};

TEST_P(ShippedStage, EveryEnemyCanBeHitOnItsSecond)
{
    const int level = GetParam();
    StageFigures f = Play(level, Player::None);
    EXPECT_GT(f.bossSecond, 0) << "the map reaches its boss";
    EXPECT_LE(f.bossSecond, 100) << "and in fair time";
    EXPECT_EQ(static_cast<int>(f.checks.size()), EnemyCells(ShippedMap(level))) << "every enemy has its second";
    for (const TargetSecondCheck& c : f.checks) {
        SCOPED_TRACE(testing::Message() << c.kind << " born at " << c.bornSecond << " for " << c.targetSecond);
        EXPECT_GT(c.targetSecond, c.bornSecond);
        EXPECT_GE(c.hittableFrames, 16);
    }
    EXPECT_TRUE(boxes.empty());
}

// A player who dodges what it has seen for a fifth of a second and shoots only where the shot
// lands on the target second reaches every boss with gauge to spare, and clears the easy level.
TEST_P(ShippedStage, AnAttentivePlayerWhoShootsOnTimeReachesTheBoss)
{
    const int level = GetParam();
    StageFigures f = Play(level, Player::Scripted);
    SCOPED_TRACE(Describe(level, f));
    ASSERT_GT(f.bossSecond, 0);
    EXPECT_GE(f.gaugeAtBoss, level == 3 ? 40 : 75);
    if (level == 0) {
        EXPECT_TRUE(f.cleared);
        EXPECT_GE(f.gauge, 75);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedStage, testing::Range(0, kLevels));

using ShippedMapRun = EnemyMapFixture;

TEST_F(ShippedMapRun, TheMapTaskReadsEveryShippedMapToItsEnd)
{
    for (int level = 0; level < kLevels; ++level) {
        SCOPED_TRACE(level);
        calls.clear();
        g_sceneManager->SetLevel(level);
        std::vector<unsigned char> bytes = ShippedMap(level);
        EnemyMap* map = EnemyMap::Create(PriorityEnemyMap);
        int frames = 0;
        while (IsLive(map) && frames < 1000) {
            RunTasks(1.0f);  // one row a frame
            ++frames;
        }
        EXPECT_EQ(frames, 2 + static_cast<int>(bytes.size() / 24)) << "load, the rows, the end";
        EXPECT_TRUE(boxes.empty());
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().kind, 0) << "the boss last";
        EXPECT_EQ(static_cast<int>(calls.size()), EnemyCells(bytes) + 1);
        EXPECT_EQ(g_musicRequest, 4);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

}  // namespace
