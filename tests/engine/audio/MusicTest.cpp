#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/GameLock.h"
#include "engine/MusicController.h"
#include "engine/MusicPlayer.h"
#include "engine/MusicThread.h"
#include "game/scenes/SceneManager.h"
#include "platform/dmusic/DMusic.h"
#include "platform/dmusic/SharedSynth.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/engine/audio/MidiFixture.h"
#include "tests/support/OwnRuntimeFolder.h"
#include "tests/support/TestWindow.h"

namespace {

// The game lock's mutex stays in a folder of the test program's own.
OwnRuntimeFolder g_runtime;

constexpr int kRate = 44100;

// A phrase of held organ notes, so that every moment of it sounds.
MidiFixture HeldNotes(std::uint32_t quarters)
{
    MidiFixture m(480);
    m.Program(0, 0, 19);
    for (std::uint32_t q = 0; q < quarters; ++q) {
        m.Note(q * 480, 480, 0, q % 2 ? 64 : 60, 110);
    }
    m.End(quarters * 480);
    return m;
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        g_mainWindow = TestWindow();
        RegisterProgramStrings();
        Win32SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            reports.push_back(text);
            return IDOK;
        });
        g_errorReporter = new ErrorReporter(1);
        GetCurrentDirectoryA(MAX_PATH, savedDirectory);
        SetCurrentDirectoryA(setup.Folder().c_str());
        mkdir(setup.PathOf("Music").c_str(), 0755);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(savedDirectory);
        delete g_errorReporter;
        g_errorReporter = nullptr;
        Win32SetMessageBoxHook({});
        CoUninitialize();
    }

    AudioTestSetup setup;
    std::vector<std::string> reports;
    char savedDirectory[MAX_PATH] = {};
};

TEST_F(MusicTest, PlayingTrackPutsSoundIntoTheMixAndStopSilencesIt)
{
    HeldNotes(8).Write(setup.PathOf("Music/song.mid"));
    MusicPlayer player;
    ASSERT_TRUE(player.Init());
    ASSERT_TRUE(player.Load("Music\\song.mid"));
    EXPECT_EQ(player.Play(0, 0, 0, 0, 0), S_OK);
    auto mix = AudioTestSetup::Pull(kRate);
    EXPECT_GT(AudioTestSetup::Peak(mix, kRate / 10, kRate - kRate / 10), 0.02f);
    player.Stop();
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(4096), 0, 4096), 0.0f);
    EXPECT_TRUE(reports.empty());
}

TEST_F(MusicTest, WholeSegmentLoopHasNoSilentGapAtTheJump)
{
    // One bar looped: a silent gap at the jump would show as a quiet 10 ms window.
    HeldNotes(4).Write(setup.PathOf("Music/bar.mid"));
    MusicPlayer player;
    ASSERT_TRUE(player.Load("Music\\bar.mid"));
    ASSERT_EQ(player.Play(0, 0, 0, 0, 1), S_OK);
    auto mix = AudioTestSetup::Pull(5 * kRate);  // the bar lasts 2 s: two jumps
    const int window = kRate / 100;
    float quietest = 1.0f;
    for (int start = kRate / 10; start + window <= 5 * kRate; start += window) {
        quietest = std::min(quietest, AudioTestSetup::Peak(mix, start, window));
    }
    EXPECT_GT(quietest, 0.005f);
}

TEST_F(MusicTest, VolumeIsInHundredthsOfADecibel)
{
    HeldNotes(8).Write(setup.PathOf("Music/song.mid"));
    float peaks[2];
    const LONG volumes[2] = {0, -2000};  // -20 dB is a tenth
    for (int i = 0; i < 2; ++i) {
        MusicPlayer player;
        ASSERT_TRUE(player.Load("Music\\song.mid"));
        ASSERT_EQ(player.Play(0, 0, 0, volumes[i], 0), S_OK);
        auto mix = AudioTestSetup::Pull(kRate / 2);
        peaks[i] = AudioTestSetup::Peak(mix, 0, kRate / 2);
    }
    EXPECT_NEAR(peaks[1] / peaks[0], 0.1f, 0.01f);
}

TEST_F(MusicTest, MissingOrBrokenFileIsReportedAndTheNextLoadStartsAfresh)
{
    std::vector<std::uint8_t> junk(100, 0x42);
    {
        FILE* f = std::fopen(setup.PathOf("Music/junk.mid").c_str(), "wb");
        std::fwrite(junk.data(), 1, junk.size(), f);
        std::fclose(f);
    }
    HeldNotes(4).Write(setup.PathOf("Music/good.mid"));
    MusicPlayer player;
    ASSERT_TRUE(player.Init());
    EXPECT_FALSE(player.Load("Music\\absent.mid"));
    EXPECT_FALSE(player.Load("Music\\junk.mid"));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], "MIDI の読み込みに失敗しました。");
    // Everything was released; the next load builds DirectMusic again.
    ASSERT_TRUE(player.Load("Music\\good.mid"));
    EXPECT_EQ(player.Play(0, 0, 0, 0, 0), S_OK);
    EXPECT_GT(AudioTestSetup::Peak(AudioTestSetup::Pull(kRate / 2), 0, kRate / 2), 0.02f);
}

// A track change as the music thread makes it: the old track stopped and everything let go, the
// new one loaded and started.
void ChangeTrack(MusicPlayer& player, const char* path)
{
    player.Stop();
    ASSERT_TRUE(player.Load(path));
    ASSERT_EQ(player.Play(0, 0, 0, 0, 1), S_OK);
}

std::size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST_F(MusicTest, TrackChangesReuseOneSynthesiserAndLeaveTheHeapAsItWas)
{
    HeldNotes(8).Write(setup.PathOf("Music/a.mid"));
    MidiFixture other(480);
    other.Program(0, 0, 48);
    other.Note(0, 960, 0, 67, 90);
    other.End(960);
    other.Write(setup.PathOf("Music/b.mid"));
    MusicPlayer player;
    for (int i = 0; i < 5; ++i) {
        ChangeTrack(player, i % 2 ? "Music\\b.mid" : "Music\\a.mid");
        AudioTestSetup::Pull(2048);
    }
    int creations = SharedSynth::Creations();
    std::size_t heap = HeapInUse();
    for (int i = 0; i < 100; ++i) {
        ChangeTrack(player, i % 2 ? "Music\\b.mid" : "Music\\a.mid");
        AudioTestSetup::Pull(2048);
    }
    player.Stop();
    EXPECT_EQ(SharedSynth::Creations(), creations) << "no synthesiser or soundfont load per track";
    std::size_t after = HeapInUse();
    EXPECT_LT(after, heap + 32 * 1024) << "heap grew by " << (after - heap) << " bytes";
    EXPECT_TRUE(reports.empty());
}

TEST_F(MusicTest, KeptSynthesiserStartsEachTrackAsANewOneWould)
{
    // The organ track after one that changed the program of its channel sounds as it did alone.
    HeldNotes(2).Write(setup.PathOf("Music/a.mid"));
    MidiFixture other(480);
    other.Program(0, 0, 0);
    other.Program(0, 1, 56);
    other.Note(0, 960, 1, 60, 127);
    other.End(960);
    other.Write(setup.PathOf("Music/b.mid"));
    MusicPlayer player;
    ChangeTrack(player, "Music\\a.mid");
    auto first = AudioTestSetup::Pull(kRate / 2);
    ChangeTrack(player, "Music\\b.mid");
    AudioTestSetup::Pull(kRate / 4);  // cut off while its notes still sound
    ChangeTrack(player, "Music\\a.mid");
    auto again = AudioTestSetup::Pull(kRate / 2);
    player.Stop();
    ASSERT_EQ(first.size(), again.size());
    // Only the reverb's tail of the cut notes may differ: far below the track itself.
    float worst = 0.0f;
    for (std::size_t i = 0; i < first.size(); ++i) {
        worst = std::max(worst, std::abs(first[i] - again[i]));
    }
    float peak = AudioTestSetup::Peak(first, 0, kRate / 2);
    EXPECT_GT(peak, 0.02f);
    EXPECT_LT(worst, peak / 10) << "peak " << peak;
}

class MusicControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_gameLock = GetGameLock();
        g_musicRequest = 0;
        g_musicRequestPending = 0;
    }
    void TearDown() override
    {
        g_gameLock->Shutdown();
        g_gameLock = nullptr;
    }
    static std::pair<int, int> Take()
    {
        g_gameLock->Lock(INFINITE, true);
        std::pair<int, int> r{g_musicRequest, g_musicRequestPending};
        g_musicRequestPending = 0;
        g_musicRequest = r.first;
        g_gameLock->Unlock();
        return r;
    }
};

TEST_F(MusicControllerTest, RequestTrackRaisesOnlyForAChange)
{
    MusicController controller;
    struct Step {
        int track;
        bool raises;
    };
    // The last request starts as 0, so a first request of 0 changes nothing; a repeat of the
    // last request is ignored even after the music it named has ended.
    const Step steps[] = {{0, false}, {1, true}, {1, false}, {6, true}, {6, false},
                          {1, true},  {0, true}, {0, false}, {9, true}, {8, true}};
    for (const Step& s : steps) {
        controller.RequestTrack(s.track);
        auto [track, pending] = Take();
        EXPECT_EQ(pending, s.raises ? 1 : 0) << s.track;
        EXPECT_EQ(track, s.track);
    }
    // Two requests within one poll: only the second is seen.
    controller.RequestTrack(2);
    controller.RequestTrack(7);
    EXPECT_EQ(Take(), std::make_pair(7, 1));
}

// Holds each of the music thread's 500 ms sleeps until the test lets it go, so that the test
// knows exactly how many looks at the request and the quit flag the thread has made.
class GatedClock : public Win32Clock {
public:
    std::uint32_t NowMs() override { return now_; }
    void SleepMs(std::uint32_t ms) override
    {
        std::unique_lock lock(mutex_);
        now_ += ms;
        if (ms != kMusicPollMs) {
            return;
        }
        ++sleeps_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_ || allowed_ > 0; });
        if (!open_) {
            --allowed_;
        }
    }
    // Waits until the thread is in its n-th poll sleep.
    bool WaitForSleep(int n)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return sleeps_ >= n; });
    }
    void AllowOne()
    {
        std::lock_guard lock(mutex_);
        ++allowed_;
        changed_.notify_all();
    }
    void Open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int Sleeps()
    {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint32_t now_ = 0;
    int sleeps_ = 0;
    int allowed_ = 0;
    bool open_ = false;
};

TEST_F(MusicTest, MusicThreadPlaysRequestsAndLeavesWithinOnePollOfTheQuitFlag)
{
    HeldNotes(16).Write(setup.PathOf("Music/no.32.mid"));
    GatedClock clock;
    SetClock(&clock);
    g_gameLock = GetGameLock();
    g_sceneManager = new SceneManager;
    g_musicController = new MusicController;
    g_musicRequest = 0;
    g_musicRequestPending = 0;
    g_musicController->RequestTrack(1);

    _beginthread(MusicThread, 0, nullptr);
    WaitUntilMusicThreadCounted();
    // Counted as soon as it is started, so that a shut-down right away waits for it.
    g_gameLock->Lock(INFINITE, true);
    EXPECT_EQ(g_gameLock->ThreadCount(), 1);
    g_gameLock->Unlock();
    ASSERT_TRUE(clock.WaitForSleep(1));
    g_gameLock->Lock(INFINITE, true);
    EXPECT_TRUE(g_sceneManager->IsMusicReady());
    g_gameLock->Unlock();

    clock.AllowOne();  // the thread takes the request and starts track 1
    ASSERT_TRUE(clock.WaitForSleep(2));
    EXPECT_GT(AudioTestSetup::Peak(AudioTestSetup::Pull(kRate / 2), 0, kRate / 2), 0.02f);

    g_musicController->RequestTrack(8);  // above 7: the music stops
    clock.AllowOne();
    ASSERT_TRUE(clock.WaitForSleep(3));
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(4096), 0, 4096), 0.0f);

    g_musicController->RequestTrack(1);
    clock.AllowOne();
    ASSERT_TRUE(clock.WaitForSleep(4));
    EXPECT_GT(AudioTestSetup::Peak(AudioTestSetup::Pull(kRate / 2), 0, kRate / 2), 0.02f);

    // Quit while the track plays and the thread sleeps.
    GameLock* lock = g_gameLock;
    std::thread shutdown([lock] { lock->Shutdown(); });
    for (bool raised = false; !raised;) {
        lock->Lock(INFINITE, true);
        raised = lock->IsQuitRequested() != 0;
        lock->Unlock();
    }
    int sleepsAtQuit = clock.Sleeps();
    clock.Open();
    shutdown.join();
    // It left after the sleep it was in, without another look, and DirectMusic was closed.
    EXPECT_EQ(clock.Sleeps(), sleepsAtQuit);
    EXPECT_EQ(g_gameLock, nullptr);
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(4096), 0, 4096), 0.0f);
    EXPECT_TRUE(reports.empty());

    SetClock(nullptr);
    delete g_musicController;
    g_musicController = nullptr;
    delete g_sceneManager;
    g_sceneManager = nullptr;
}

}  // namespace
