// The shipped stage maps: each parses, uses only the codes the map knows, and is laid out as a
// stage must be: enemies that can be reached on their seconds, the warning and then the boss last.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/MusicController.h"
#include "engine/TaskList.h"
#include "game/SceneManager.h"
#include "tests/enemymap/MapProbe.h"

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
