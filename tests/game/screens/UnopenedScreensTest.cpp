// The option screen, the bare menu and the replay list, inserted by hand since no scene opens
// them.
#include <filesystem>
#include <fstream>
#include <string>

#include "game/screens/OptionScreen.h"
#include "game/screens/ReplayList.h"
#include "game/screens/UnfinishedMenu.h"
#include "tests/game/screens/TaskFixture.h"

namespace {

constexpr int kUp = 0x26, kDown = 0x28, kLeft = 0x25, kRight = 0x27;

class UnopenedScreensTest : public TaskFixture {
protected:
    template <typename Screen>
    Screen* Open()
    {
        auto* screen = static_cast<Screen*>(g_taskList->Insert(new Screen, PriorityScreen));
        RunTasks();
        RunTasks();  // the action keys, which start Held, settle to Up
        return screen;
    }
    // Where the cursor was drawn in the last run.
    std::pair<int, int> Cursor() const
    {
        auto cursors = SpritesFrom(6);
        EXPECT_EQ(cursors.size(), 1u);
        if (cursors.empty()) {
            return {-1, -1};
        }
        EXPECT_EQ(std::tie(cursors[0].srcX, cursors[0].srcY, cursors[0].w, cursors[0].h), std::make_tuple(0, 56, 16, 16));
        return {cursors[0].x, cursors[0].y};
    }
    static SceneState Requested() { return g_sceneManager->GetRequestedState(); }
    static bool AnySoundRequested()
    {
        for (int id = 0; id < kSoundEffectCount; ++id) {
            if (TaskFixture::Requested(static_cast<SoundEffectId>(id))) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(UnopenedScreensTest, OptionCursorWrapsOverTwoEntries)
{
    Open<OptionScreen>();
    EXPECT_EQ(Cursor(), std::make_pair(260, 268));
    struct Step {
        int key;
        std::pair<int, int> cursor;
    } steps[] = {
        {kDown, {280, 316}},
        {kDown, {260, 268}},
        {kUp, {280, 316}},
        {kUp, {260, 268}},
    };
    for (const Step& s : steps) {
        ClearRequests();
        Press(s.key);
        EXPECT_EQ(Cursor(), s.cursor);
        EXPECT_EQ(TaskFixture::Requested(SoundEffectId::CursorMove), 1);
    }
}

TEST_F(UnopenedScreensTest, OptionFogNeedsZWithASideKeyAndEntryOneLeaves)
{
    Open<OptionScreen>();
    ASSERT_EQ(g_fogEnabled, 1);
    Press('Z');
    EXPECT_EQ(g_fogEnabled, 1) << "Z alone changes nothing";
    PressTogether({'Z', kRight});
    EXPECT_EQ(g_fogEnabled, 0);
    PressTogether({'Z', kLeft});
    EXPECT_EQ(g_fogEnabled, 1);
    Press('X');
    EXPECT_EQ(Requested(), SceneState::Blank) << "X does nothing";

    Press(kDown);
    PressTogether({'Z', kRight});
    EXPECT_EQ(g_fogEnabled, 1) << "the toggle belongs to entry 0";
    EXPECT_EQ(Requested(), SceneState::Title);
}

TEST_F(UnopenedScreensTest, UnfinishedMenuOnlyDrawsItsCursor)
{
    Open<UnfinishedMenu>();
    for (int key : {kDown, kUp, int('Z'), int('X')}) {
        Press(key);
        EXPECT_EQ(Sprites().size(), 1u);
        EXPECT_EQ(Cursor(), std::make_pair(260, 252));
    }
    EXPECT_FALSE(AnySoundRequested());
    EXPECT_EQ(Requested(), SceneState::Blank);
}

TEST_F(UnopenedScreensTest, ReplayPromptTogglesAndLeaves)
{
    ReplayList* list = Open<ReplayList>();
    EXPECT_EQ(Cursor(), std::make_pair(260, 252));
    Press(kRight);
    EXPECT_EQ(Cursor(), std::make_pair(260, 278));
    Press(kLeft);
    EXPECT_EQ(Cursor(), std::make_pair(260, 252));
    Press('X');
    EXPECT_EQ(Requested(), SceneState::Title);

    g_sceneManager->SetNextScene(SceneState::Blank);
    Press(kRight);
    Press('Z');
    EXPECT_EQ(Requested(), SceneState::Title) << "entry 1 leaves";
    EXPECT_EQ(list->GetPhase(), 0);
    EXPECT_FALSE(AnySoundRequested());
}

TEST_F(UnopenedScreensTest, ReplayListWithoutFolderShowsNoneEverywhere)
{
    ASSERT_FALSE(std::filesystem::exists(folder / "replay"));
    ReplayList* list = Open<ReplayList>();
    Press('Z');
    ASSERT_EQ(list->GetPhase(), 2);
    std::vector<DrawnSprite> texts;
    for (const DrawnSprite& s : Sprites()) {
        if (s.slot == -1) {
            texts.push_back(s);
        }
    }
    ASSERT_EQ(texts.size(), 8u);
    for (int i = 0; i < ReplayList::kSlots; ++i) {
        EXPECT_STREQ(list->GetName(i), "None");
        EXPECT_EQ(std::tie(texts[i].x, texts[i].y), std::make_tuple(280, 252 + 26 * i));
        EXPECT_EQ(texts[i].colour, 0xFFFFFFFFu);
    }
    EXPECT_EQ(Cursor(), std::make_pair(260, 252));
}

TEST_F(UnopenedScreensTest, ReplayNamesCursorAndChoice)
{
    auto write = [&](const char* file, const std::string& bytes) {
        std::ofstream(folder / "replay" / file, std::ios::binary) << bytes;
    };
    std::filesystem::create_directory(folder / "replay");
    write("rep00.rep", std::string("Alpha\0tail", 10));
    write("rep03.rep", "Bo");  // shorter than a name field
    write("rep05.rep", std::string(100, 'x'));  // no zero byte in the first 64
    write("rep07.rep", std::string("NONE\0", 5));
    ReplayList* list = Open<ReplayList>();
    Press('Z');
    ASSERT_EQ(list->GetPhase(), 2);
    const std::string expected[] = {"Alpha", "None", "None", "Bo", "None", std::string(63, 'x'), "None", "NONE"};
    for (int i = 0; i < ReplayList::kSlots; ++i) {
        EXPECT_EQ(list->GetName(i), expected[i]) << i;
    }

    // Up from the first wraps to the last, down from the last to the first.
    struct Step {
        int key, cursor;
    } steps[] = {{kUp, 7}, {kDown, 0}, {kDown, 1}, {kUp, 0}, {kUp, 7}};
    for (const Step& s : steps) {
        Press(s.key);
        EXPECT_EQ(list->GetCursor(), s.cursor);
        EXPECT_EQ(Cursor(), std::make_pair(260, 252 + 26 * s.cursor));
    }
    // Slots without a replay keep the list; a named replay leaves it for the idle state.
    struct Choice {
        std::vector<int> moves;
        int cursor, phase;
        const char* what;
    } choices[] = {
        {{}, 7, 2, "NONE"},
        {{kUp}, 6, 2, "a missing file"},
        {{kDown, kDown}, 0, 3, "Alpha"},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.what);
        for (int key : c.moves) {
            Press(key);
        }
        ASSERT_EQ(list->GetCursor(), c.cursor);
        Press('Z');
        EXPECT_EQ(list->GetPhase(), c.phase);
    }
    EXPECT_TRUE(Sprites().empty()) << "the idle state draws nothing";
    Press('X');
    EXPECT_EQ(Requested(), SceneState::Blank) << "nor reads keys";
    EXPECT_FALSE(AnySoundRequested());
}

}  // namespace
