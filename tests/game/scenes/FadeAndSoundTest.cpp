// Fades, the sound-effect player and the loading scene's patience, on the running game's objects.
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/GameLock.h"
#include "engine/MusicController.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/scenes/Fade.h"
#include "game/scenes/LoadingScene.h"
#include "game/scenes/SceneManager.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

namespace {

// Raises one effect's request a number of times during its first run.
class Requester : public Task {
public:
    Requester(SoundEffectId id, int times) : id(id), times(times) {}
    void Exec() override
    {
        for (; times > 0; --times) {
            g_soundEffectBank->SetRequest(id, 1);
        }
    }
    SoundEffectId id;
    int times;
};

float PeakOfNext(int frames)
{
    std::vector<float> mix(static_cast<std::size_t>(frames) * 2);
    AudioPull(mix.data(), frames);
    float peak = 0.0f;
    for (float s : mix) {
        peak = std::max(peak, std::fabs(s));
    }
    return peak;
}

class FadeAndSoundTest : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        StartGame();
        ASSERT_TRUE(RunUntil(SceneState::Title, 200));
        for (int i = 0; i < 20; ++i) {
            Frame();  // the title's own fade-in ends
        }
    }
    // Stops the music and keeps the music thread waiting on the game lock, so that the mix
    // holds the sound effects alone.
    void SilenceMusic()
    {
        g_musicController->RequestTrack(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        g_gameLock->Lock(INFINITE, true);
        locked = true;
        // The mix advances only as it is pulled: let every earlier sound play out.
        for (int i = 0; i < 100 && PeakOfNext(4096) >= 1e-4f; ++i) {
        }
        ASSERT_LT(PeakOfNext(2048), 1e-4f);
    }
    void TearDown() override
    {
        if (locked) {
            g_gameLock->Unlock();
        }
        GameFixture::TearDown();
    }
    bool locked = false;
};

TEST_F(FadeAndSoundTest, FadeStepsAndAlphaSequences)
{
    struct Case {
        int step;
        int mode;
        int slot;
        int first, delta, frames;
    } cases[] = {
        {16, 0, 23, 239, -16, 15},  // in from black
        {16, 1, 23, 16, 16, 15},    // out to black
        {0, 2, 22, 239, -16, 15},   // a step of 0 runs with 16
        {20, 3, 22, 16, 16, 15},    // and so does one above 16
        {4, 3, 22, 4, 4, 60},
        {16, 9, 23, 239, -16, 15},  // an unknown mode fades in from black
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " mode " << c.mode);
        Fade::Create(PriorityFade, c.step, SceneState::Title, static_cast<FadeMode>(c.mode));
        Frame();
        auto first = SpritesFrom(c.slot);
        if (c.first > 128) {
            // A fade-in covers its first frame fully, so its scene never shows unfaded.
            ASSERT_EQ(first.size(), 1u);
            EXPECT_EQ(first[0].colour, 0xFFFFFFFFu);
            EXPECT_EQ(first[0].w, 640);
        } else {
            EXPECT_TRUE(first.empty()) << "a fade-out starts clear";
        }
        for (int i = 0; i < c.frames; ++i) {
            Frame();
            auto sheet = SpritesFrom(c.slot);
            ASSERT_EQ(sheet.size(), 1u) << "frame " << i;
            EXPECT_EQ(static_cast<int>(sheet[0].colour >> 24), c.first + c.delta * i) << "frame " << i;
            EXPECT_EQ(sheet[0].colour & 0xFFFFFFu, 0xFFFFFFu);
            EXPECT_EQ(sheet[0].w, 640) << "scaled over the whole screen";
            EXPECT_EQ(sheet[0].h, 480);
        }
        Frame();
        EXPECT_TRUE(SpritesFrom(c.slot).empty()) << "the fade has ended";
    }
    EXPECT_EQ(CurrentState(), 1);
}

TEST_F(FadeAndSoundTest, FadeOutEndsInItsTargetScene)
{
    Fade::Create(PriorityFade, 16, SceneState::GameOver, FadeMode::OutToBlack);
    for (int i = 0; i < 16; ++i) {
        Frame();
        EXPECT_EQ(CurrentState(), 1) << "frame " << i;
    }
    Frame();
    EXPECT_EQ(CurrentState(), 6);
}

TEST_F(FadeAndSoundTest, EffectRequestedTwiceInAFrameSoundsInTheNext)
{
    SilenceMusic();
    g_taskList->Insert(new Requester(SoundEffectId::ExplosionSmall, 2), PriorityEnemy);
    Frame();
    EXPECT_EQ(g_soundEffectBank->GetRequestFlags()[8], 1);
    EXPECT_LT(PeakOfNext(1024), 1e-4f) << "the player ran before the request this frame";
    Frame();
    EXPECT_EQ(g_soundEffectBank->GetRequestFlags()[8], 0);
    EXPECT_GT(PeakOfNext(1024), 0.01f);
}

TEST_F(FadeAndSoundTest, DifficultyMenuCancelIsHeard)
{
    Tap('Z');
    ASSERT_TRUE(RunUntil(SceneState::Difficulty, 40));
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    SilenceMusic();
    KeyDown('X');
    Frame();
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Title);
    EXPECT_LT(PeakOfNext(1024), 1e-4f);
    Frame();
    EXPECT_EQ(CurrentState(), 1);
    EXPECT_GT(PeakOfNext(1024), 0.01f) << "the cancel sound plays as the title comes back";
}

TEST_F(FadeAndSoundTest, LoadingGivesUpAtTheSixtyFirstFailedCheck)
{
    // Without a loader the resources never arrive; the lock keeps the music thread still.
    VirtualClock clock;
    SetClock(&clock);
    g_gameLock->Lock(INFINITE, true);
    locked = true;
    g_sceneManager->SetResourcesLoaded(false);
    LoadingScene scene;
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(scene.Exec(), 0) << i;
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(scene.Exec(), -1);
    EXPECT_EQ(clock.TotalSleptMs(), 61u * 500u) << "half a second per check";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "タイムアウトしました。");
    EXPECT_EQ(g_sceneManager->GetRequestedState(), SceneState::Quit);
    SetClock(nullptr);
}

}  // namespace
