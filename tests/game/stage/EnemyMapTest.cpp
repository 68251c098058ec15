// The enemy map task: reading its file, releasing rows as the field scrolls, and what each cell
// makes.
#include <filesystem>
#include <set>
#include <string>

#include "engine/MusicController.h"
#include "engine/SoundEffectId.h"
#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/enemies/IntroTarget.h"
#include "game/scenes/SceneManager.h"
#include "game/stage/StageOpening.h"
#include "game/stage/WarningBanner.h"
#include "platform/win32/Win32.h"
#include "tests/game/stage/MapProbe.h"

namespace fs = std::filesystem;

namespace {

const std::string kLoadFailed = "敵マップファイルのロードに失敗しました。";

// Rows of one kind-1 cell each, in column r of row r, param r + 1.
std::vector<unsigned char> DiagonalRows(int rows)
{
    std::vector<unsigned char> bytes;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 12; ++c) {
            PutCell(bytes, c == r ? 1 : 0, c == r ? r + 1 : 0);
        }
    }
    return bytes;
}

using EnemyMapTest = EnemyMapFixture;

TEST_F(EnemyMapTest, RowComesEachTime32PixelsHaveScrolled)
{
    struct Case {
        float frameTime;
        int framesPerRow;  // 32 px at 32 px/s, the excess over 32 dropped at each row
    } cases[] = {
        {0.016f, 63},  // 0.512 px a frame: 32.256 px after 63 frames
        {0.5f, 2},
        {1.0f, 1},     // exactly 32 px is a row
        {3.0f, 1},     // never more than one row in a frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameTime);
        calls.clear();
        WriteMap(0, DiagonalRows(3));
        EnemyMap* map = EnemyMap::Create(PriorityEnemyMap);
        RunTasks(c.frameTime);  // loads in its first frame
        ASSERT_EQ(map->phase, 1);
        EXPECT_EQ(map->queue.size(), 72u);
        for (int row = 0; row < 3; ++row) {
            RunTasks(c.framesPerRow - 1, c.frameTime);
            EXPECT_EQ(calls.size(), static_cast<std::size_t>(row)) << "row " << row << " too early";
            RunTasks(c.frameTime);
            ASSERT_EQ(calls.size(), static_cast<std::size_t>(row + 1)) << "row " << row << " late";
            EXPECT_FLOAT_EQ(calls.back().x, 128.0f + 32.0f * row);
            EXPECT_EQ(calls.back().param, row + 1);
        }
        // The first row time after the last row ends the map.
        RunTasks(c.framesPerRow - 1, c.frameTime);
        EXPECT_TRUE(IsLive(map));
        RunTasks(c.frameTime);
        EXPECT_FALSE(IsLive(map));
    }
}

TEST_F(EnemyMapTest, EveryCodeMakesWhatItsCellSays)
{
    // All 256 codes in order, twelve to a row, each with a param of its own.
    auto paramOf = [](int code) { return code == 0x80 ? 5 : (code * 37 + 11) % 256; };
    std::vector<unsigned char> bytes;
    for (int code = 0; code < 256; ++code) {
        PutCell(bytes, code, paramOf(code));
    }
    WriteMap(0, bytes);
    EnemyMap* map = EnemyMap::Create(PriorityEnemyMap);
    std::set<Task*> banners;
    int frames = 0;
    while (IsLive(map) && frames < 100) {
        RunTasks(1.0f);
        ++frames;
        for (WarningBanner* b : LiveOfClass<WarningBanner>()) {
            banners.insert(b);
        }
    }
    EXPECT_FALSE(IsLive(map));

    std::vector<MapCall> expected;
    for (int code = 1; code <= 5; ++code) {
        expected.push_back({code, PriorityEnemy, paramOf(code), 128.0f + 32.0f * code, -48.0f});
    }
    expected.push_back({0, PriorityEnemy, paramOf(0x70), 0.0f, 0.0f});
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(banners.size(), 1u) << "one banner, from code 0x40 alone";
    EXPECT_EQ(g_musicRequest, 5) << "code 0x80 asks for its param's track";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(EnemyMapTest, CellsPlacedByColumnTakeTheirTargetSecondAtRelease)
{
    KindsMakeGradedTargets();
    Clock* clock = Clock::Create(PriorityScreen, 444, 448);
    clock->seconds = 40;
    std::vector<unsigned char> row;
    PutCell(row, 1, 3);
    for (int c = 1; c < 11; ++c) {
        PutCell(row, 0, 0);
    }
    PutCell(row, 2, 0);
    WriteMap(0, row);
    EnemyMap::Create(PriorityEnemyMap);
    RunTasks();
    int released = -1;
    for (int frame = 0; frame < 70 && LiveOfType(TaskType::IntroTarget).empty(); ++frame) {
        released = clock->GetSeconds();
        RunTasks();
    }
    auto targets = LiveOfClass<IntroTarget>();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_FLOAT_EQ(targets[0]->x, 128.0f);
    EXPECT_FLOAT_EQ(targets[0]->y, -48.0f);
    EXPECT_EQ(targets[0]->targetSecond, released + 3);
    EXPECT_FLOAT_EQ(targets[1]->x, 480.0f);
    EXPECT_FLOAT_EQ(targets[1]->y, -48.0f);
    EXPECT_EQ(targets[1]->targetSecond, 0) << "param 0: no target second";
    EXPECT_EQ(targets[0]->priority, PriorityEnemy);
    // Inserted behind the map, they ran in the frame of their release.
    auto drawn = SpritesFrom(15);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].x, 128);
    EXPECT_EQ(drawn[0].y, -48);
}

TEST_F(EnemyMapTest, WarningBossAndMusicCellsIgnoreTheirColumn)
{
    struct Case {
        int column;
        int code, param;
        int banners;
        int bossParam;  // -1: no boss
        int track;      // the music request afterwards
    } cases[] = {
        {0, 0x40, 9, 1, -1, 1},
        {11, 0x40, 0, 1, -1, 1},
        {11, 0x70, 30, 0, 30, 1},
        {4, 0x70, 0, 0, 0, 1},
        {7, 0x80, 3, 0, -1, 3},
        {0, 0x80, 9, 0, -1, 9},  // an unknown track is the music controller's business
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " column " << c.column);
        calls.clear();
        g_musicController->RequestTrack(1);
        ClearSoundRequests();
        std::vector<unsigned char> row;
        for (int col = 0; col < 12; ++col) {
            PutCell(row, col == c.column ? c.code : 0, col == c.column ? c.param : 0);
        }
        WriteMap(0, row);
        EnemyMap::Create(PriorityEnemyMap);
        RunTasks(2, 1.0f);
        EXPECT_EQ(static_cast<int>(LiveOfClass<WarningBanner>().size()), c.banners);
        EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::Warning)), c.banners);
        if (c.bossParam < 0) {
            EXPECT_TRUE(calls.empty());
        } else {
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_EQ(calls[0], (MapCall{0, PriorityEnemy, c.bossParam, 0.0f, 0.0f}));
        }
        EXPECT_EQ(g_musicRequest, c.track);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(EnemyMapTest, ShortFileKeepsItsWholeCellsAndDropsALoneByte)
{
    struct Case {
        std::size_t bytes;
        int cells;
        int rowTimes;  // rows released before the row time that ends the map
    } cases[] = {
        {0, 0, 0}, {1, 0, 1}, {13, 6, 1}, {24, 12, 1}, {25, 12, 2}, {49, 24, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        calls.clear();
        std::vector<unsigned char> bytes;
        while (bytes.size() + 2 <= c.bytes) {
            PutCell(bytes, 3, static_cast<int>(bytes.size() / 2 + 1));
        }
        if (bytes.size() < c.bytes) {
            bytes.push_back(4);  // a lone last byte, the code of a cell without its param
        }
        WriteMap(0, bytes);
        EnemyMap* map = EnemyMap::Create(PriorityEnemyMap);
        RunTasks(1.0f);
        EXPECT_EQ(map->queue, bytes) << "exactly the file's bytes";
        RunTasks(c.rowTimes, 1.0f);
        EXPECT_TRUE(IsLive(map));
        RunTasks(1.0f);
        EXPECT_FALSE(IsLive(map));
        ASSERT_EQ(static_cast<int>(calls.size()), c.cells);
        for (int i = 0; i < c.cells; ++i) {
            EXPECT_EQ(calls[i].kind, 3);
            EXPECT_EQ(calls[i].param, i + 1);
            EXPECT_FLOAT_EQ(calls[i].x, 128.0f + 32.0f * (i % 12));
        }
        EXPECT_TRUE(boxes.empty());
        RunTasks();
    }
}

TEST_F(EnemyMapTest, FileThatCannotBeReadReportsAndEndsTheMap)
{
    enum Trouble { Missing, FolderInItsPlace, FolderNameTooLong };
    for (Trouble trouble : {Missing, FolderInItsPlace, FolderNameTooLong}) {
        SCOPED_TRACE(trouble);
        boxes.clear();
        calls.clear();
        fs::path current = fs::current_path();
        fs::path map = folder / "emap" / "emap1_0.bin";
        WriteMap(0, DiagonalRows(2));
        if (trouble == Missing) {
            fs::remove(map);
        } else if (trouble == FolderInItsPlace) {
            fs::remove(map);
            fs::create_directory(map);
        } else {
            // A whole map in a folder whose name does not fit the path buffer: it must not be
            // opened under a cut name.
            fs::path deep = folder;
            while (deep.string().size() < MAX_PATH + 20) {
                deep /= "deeper_folder_name";
            }
            fs::create_directories(deep / "emap");
            fs::copy_file(map, deep / "emap" / "emap1_0.bin");
            fs::current_path(deep);
        }
        EnemyMap* task = EnemyMap::Create(PriorityEnemyMap);
        RunTasks();
        fs::current_path(current);
        EXPECT_FALSE(IsLive(task));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], kLoadFailed);
        EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Quit);
        RunTasks(100, 1.0f);
        EXPECT_TRUE(calls.empty());
        fs::remove_all(map);
    }
}

TEST_F(EnemyMapTest, EachLevelReadsItsOwnFile)
{
    for (int level = 0; level < 4; ++level) {
        std::vector<unsigned char> row;
        PutCell(row, 0x70, 10 + level);
        WriteMap(level, row);
    }
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE(level);
        calls.clear();
        g_sceneManager->SetLevel(level);
        EnemyMap::Create(PriorityEnemyMap);
        RunTasks(2, 1.0f);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].param, 10 + level);
        RunTasks(1.0f);
    }
}

TEST_F(EnemyMapTest, StageOpeningStartsTheMapAtSecondFour)
{
    StageOpening* opening = StageOpening::Create(PrioritySideFrame);
    auto clock = static_cast<Clock*>(LiveOfType(TaskType::Clock).at(0));
    int frames = 0;
    while (IsLive(opening) && frames < 400) {
        EXPECT_EQ(LiveMap(), nullptr);
        RunTasks();
        ++frames;
    }
    EXPECT_EQ(clock->GetSeconds(), 4);
    EnemyMap* map = LiveMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->priority, PriorityEnemyMap);
    EXPECT_EQ(map->type, TaskType::None);
    EXPECT_EQ(map->phase, 0);
    RunTasks();
    EXPECT_EQ(map->phase, 1) << "the level's map file is read";
    EXPECT_FALSE(map->queue.empty());
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
