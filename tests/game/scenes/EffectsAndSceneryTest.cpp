// Explosions, the backdrop and the side frame, drawn on the recording device.
#include <algorithm>

#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/stage/Backdrop.h"
#include "game/effects/ExplosionDebris.h"
#include "game/effects/Explosions.h"
#include "game/scenes/SceneManager.h"
#include "game/stage/SideFrame.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/win32/CRuntime.h"
#include "tests/game/GameFixture.h"

namespace {

class EffectsAndSceneryTest : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        StartGame();
        ASSERT_TRUE(RunUntil(SceneState::Title, 200));
        // An empty scene of our own: only what a test creates runs.
        g_sceneManager->SetNextScene(SceneState::Blank);
        Frame();
    }
    // Runs the task list once as a drawn frame would, recording only its sprites.
    void RunTasks()
    {
        RecordingDevice::From(g_graphicsEngine->GetDevice())->ClearCalls();
        g_graphicsEngine->SetDrawEnabled(true);
        g_taskList->RunAll();
    }
    static int LiveTasks()
    {
        int live = 0;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            live += t->state == TaskState::Live ? 1 : 0;
        }
        return live;
    }
};

TEST_F(EffectsAndSceneryTest, SmallExplosionPiecesAndSound)
{
    g_soundEffectBank->SetRequest(SoundEffectId::ExplosionSmall, 0);
    crt::srand(8461);
    ExplodeSmall(PriorityEnemy, 200.0f, 100.0f, 1);
    EXPECT_EQ(g_soundEffectBank->GetRequestFlags()[8], 1);
    EXPECT_EQ(LiveTasks(), 5) << "one flash and four sparks";
    RunTasks();
    auto flash = SpritesFrom(21);
    ASSERT_EQ(flash.size(), 5u);
    // The flash: row 1 cells, first cell, grown from its top-left (184, 84) by its scale.
    EXPECT_EQ(flash[0].srcY, 32);
    EXPECT_EQ(flash[0].srcX, 0);
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(flash[i].srcY, 96 + 6) << "sparks of row 1";
    }
}

TEST_F(EffectsAndSceneryTest, ExplosionsEndByThemselves)
{
    struct Case {
        void (*explode)(int, float, float, int);
        int pieces;
        int soundId;
    } cases[] = {
        {ExplodeSmall, 5, 8},
        {ExplodeMedium, 9, 9},  // 2 flashes, 6 sparks, a ring
        {ExplodeLarge, 12, 10},  // 3 flashes, 8 sparks, a ring
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pieces);
        c.explode(PriorityEnemy, 300.0f, 200.0f, 0);
        EXPECT_EQ(g_soundEffectBank->GetRequestFlags()[c.soundId], 1);
        EXPECT_EQ(LiveTasks(), c.pieces);
        int frames = 0;
        while (LiveTasks() > 0 && frames < 200) {
            RunTasks();
            ++frames;
        }
        EXPECT_EQ(LiveTasks(), 0);
        EXPECT_LT(frames, 60) << "every piece is gone within a second";
    }
}

TEST_F(EffectsAndSceneryTest, DebrisDimsAsItSlowsAndIsAdditive)
{
    ExplosionDebris::Create(PriorityGradeLabel, 320.0f, 240.0f);
    std::vector<unsigned> colours;
    while (LiveTasks() > 0 && colours.size() < 200) {
        RunTasks();
        auto dots = SpritesFrom(21);
        ASSERT_EQ(dots.size(), 1u);
        EXPECT_EQ(dots[0].w, 2);
        colours.push_back(dots[0].colour);
    }
    EXPECT_TRUE(std::is_sorted(colours.begin(), colours.end(), std::greater<unsigned>())) << "only ever dimmer";
    EXPECT_EQ(colours.back(), 0x40FFFFFFu);
    auto blends = RecordingDevice::From(g_graphicsEngine->GetDevice())->Named("SetRenderState");
    bool additive = std::any_of(blends.begin(), blends.end(), [](const RecordedCall& c) {
        return c.args[0] == double(D3DRS_SRCBLEND) && c.args[1] == double(D3DBLEND_ONE);
    });
    EXPECT_TRUE(additive);
}

TEST_F(EffectsAndSceneryTest, BackdropScrollsAndWrapsToZero)
{
    Backdrop* backdrop = Backdrop::Create(PriorityBackdrop, "back.x", "./img", 1.0f);
    RunTasks();
    EXPECT_TRUE(Sprites().empty()) << "the first frame only loads the mesh";
    RunTasks();
    auto sky = Sprites();
    ASSERT_EQ(sky.size(), 2u);
    EXPECT_EQ(sky[0].slot, 3);
    EXPECT_EQ(sky[0].x, 128);
    EXPECT_EQ(sky[1].slot, 4);
    EXPECT_EQ(sky[1].x, 256);
    float previous = backdrop->GetScroll();
    EXPECT_FLOAT_EQ(previous, -0.016f);
    bool wrapped = false;
    for (int i = 0; i < 300 && !wrapped; ++i) {
        RunTasks();
        float z = backdrop->GetScroll();
        if (z > previous) {
            wrapped = true;
            EXPECT_EQ(z, 0.0f);
            EXPECT_LT(previous - 0.016f, -4.0f);
        }
        previous = z;
    }
    EXPECT_TRUE(wrapped);
}

TEST_F(EffectsAndSceneryTest, BackdropWithoutFolderLoadsNoMesh)
{
    std::size_t meshes = g_graphicsEngine->GetMeshes().size();
    Backdrop::Create(PriorityBackdrop, "none.x", "", 1.0f);
    RunTasks();
    RunTasks();
    EXPECT_EQ(Sprites().size(), 2u) << "the pictures still show";
    EXPECT_EQ(g_graphicsEngine->GetMeshes().size(), meshes);
}

TEST_F(EffectsAndSceneryTest, SideFrameNumbersByScene)
{
    SideFrame::Create(PrioritySideFrame);
    g_sceneManager->SetNextScene(SceneState::Title);
    RunTasks();
    EXPECT_EQ(SpritesFrom(1).size(), 2u);
    EXPECT_EQ(SpritesFrom(2).size(), 2u);
    EXPECT_EQ(SpritesFrom(7).size(), 9u) << "the high score on the title";
    g_sceneManager->SetNextScene(SceneState::Difficulty);
    RunTasks();
    EXPECT_EQ(SpritesFrom(1).size(), 2u);
    EXPECT_TRUE(SpritesFrom(7).empty()) << "the panels alone";

    // The stage's own side frame: the score's nine digits, the sign and the multiplier's one.
    Frame();
    ASSERT_EQ(CurrentState(), 3);
    g_sceneManager->SetNextScene(SceneState::Stage);
    // The stage's intro target shows its digit in the field too; only the frame's rows count here.
    Frame();
    Frame();
    auto digits = SpritesFrom(7);
    auto inFrame = std::count_if(digits.begin(), digits.end(), [](const DrawnSprite& d) {
        return d.y == 0 || d.y == 462;
    });
    EXPECT_EQ(inFrame, 11);
}

}  // namespace
