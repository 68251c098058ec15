// Frames already rendered for a device that queues them are rendered again when a sound starts,
// so that the sound is placed near what is being heard instead of behind the queue. The mix is
// pulled here as the device would take it; music plays under the sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>
#include <vector>

#include "engine/Application.h"
#include "engine/MusicPlayer.h"
#include "engine/SoundEffectBank.h"
#include "platform/dmusic/DMusic.h"
#include "platform/dsound/AudioMixer.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/engine/audio/MidiFixture.h"
#include "tests/engine/audio/WavFixture.h"
#include "tests/support/TestWindow.h"

namespace {

constexpr float kLevel = 5000 / 32768.0f;  // the effect's constant level: the sum stays below the limiter

class QueuedMixTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        g_mainWindow = TestWindow();
        GetCurrentDirectoryA(MAX_PATH, savedDirectory);
        SetCurrentDirectoryA(setup.Folder().c_str());
        mkdir(setup.PathOf("Music").c_str(), 0755);
        MidiFixture song(480);
        song.Program(0, 0, 19);
        for (std::uint32_t q = 0; q < 16; ++q) {
            song.Note(q * 480, 480, 0, q % 2 ? 64 : 60, 70);
        }
        song.End(16 * 480);
        song.Write(setup.PathOf("Music/song.mid"));
        bank = new SoundEffectBank;
        ASSERT_TRUE(bank->Init());
        AudioTestSetup::Pull(4410);  // anything of an earlier test has ended
    }
    void StartMusic()
    {
        ASSERT_TRUE(music.Load("Music\\song.mid"));
        ASSERT_EQ(music.Play(0, 0, 0, 0, 0), S_OK);
        AudioTestSetup::Pull(4410);  // the music has begun
    }
    // Plays the effect and renders again the last `queued` frames from `placedAt` on; the
    // queue as it is then.
    std::vector<float> PlayInto(const std::vector<float>& queued, int placedAt)
    {
        AudioMixer& mixer = AudioMixer::Instance();
        int frames = static_cast<int>(queued.size() / 2);
        long long from = mixer.RenderedFrames() - frames + placedAt;
        bank->Play(SoundEffectId::PlayerShot);
        std::vector<float> again(static_cast<std::size_t>(AudioMixer::kKeptFrames) * 2);
        int span = mixer.Rerender(again.data(), from);
        EXPECT_EQ(span, frames - placedAt);
        // Lined up with the queue: the frames before the placement are the queue's own.
        again.resize(static_cast<std::size_t>(std::max(span, 0)) * 2);
        again.insert(again.begin(), queued.begin(), queued.begin() + 2 * placedAt);
        return again;
    }
    void TearDown() override
    {
        delete bank;
        music.Stop();
        SetCurrentDirectoryA(savedDirectory);
        g_mainWindow = nullptr;
        CoUninitialize();
    }

    void LoadEffect(int frames)
    {
        std::string path = setup.PathOf("effect.wav");
        WavFixture::Write(path, WavFixture::Mono16(44100, std::vector<std::int16_t>(frames, 5000)));
        ASSERT_TRUE(bank->LoadWave(SoundEffectId::PlayerShot, path.c_str()));
    }

    AudioTestSetup setup;
    MusicPlayer music;
    SoundEffectBank* bank = nullptr;
    char savedDirectory[MAX_PATH] = {};
};

// Frames of the effect in the difference between two mixes of the same music.
int EffectFrames(const std::vector<float>& with, const std::vector<float>& without, int first, int frames)
{
    int n = 0;
    for (int i = first; i < first + frames; ++i) {
        n += std::fabs(with[2 * i] - without[2 * i] - kLevel) < 1e-4f &&
             std::fabs(with[2 * i + 1] - without[2 * i + 1] - kLevel) < 1e-4f;
    }
    return n;
}

struct Case {
    int effectFrames;
    int queued;    // frames rendered and not yet heard
    int placedAt;  // frames into the queue where the sound is placed
};
// The sound ends inside the queue; it runs on past the queue; it starts at the queue's head.
const Case kCases[] = {{1000, 4096, 512}, {6000, 4096, 1024}, {3000, 2048, 0}};

TEST_F(QueuedMixTest, TheMusicUnderAPlacedSoundIsWhatWasQueued)
{
    StartMusic();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.effectFrames);
        LoadEffect(c.effectFrames);
        std::vector<float> queued = AudioTestSetup::Pull(c.queued);
        ASSERT_GT(AudioTestSetup::Peak(queued, 0, c.queued), 0.01f);
        std::vector<float> again = PlayInto(queued, c.placedAt);
        ASSERT_EQ(again.size(), queued.size());
        // The same music frame for frame; the effect added from the placement on.
        int inQueue = std::min(c.effectFrames, c.queued - c.placedAt);
        EXPECT_EQ(EffectFrames(again, queued, c.placedAt, inQueue), inQueue);
        for (int i = 0; i < c.queued; ++i) {
            if (i < c.placedAt || i >= c.placedAt + inQueue) {
                ASSERT_EQ(again[2 * i], queued[2 * i]) << "frame " << i;
                ASSERT_EQ(again[2 * i + 1], queued[2 * i + 1]) << "frame " << i;
            }
        }
        AudioTestSetup::Pull(c.effectFrames);
    }
}

TEST_F(QueuedMixTest, APlacedSoundGoesOnWithTheNextFramesAndIsHeardOnce)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.effectFrames);
        LoadEffect(c.effectFrames);
        std::vector<float> queued = AudioTestSetup::Pull(c.queued);
        std::vector<float> again = PlayInto(queued, c.placedAt);
        std::vector<float> next = AudioTestSetup::Pull(c.effectFrames + 1000);
        again.insert(again.end(), next.begin(), next.end());
        // From the placement on: the effect's frames, each once, then silence.
        std::vector<float> silence(again.size(), 0.0f);
        int total = static_cast<int>(again.size() / 2);
        EXPECT_EQ(EffectFrames(again, silence, c.placedAt, c.effectFrames), c.effectFrames);
        EXPECT_EQ(AudioTestSetup::Peak(again, 0, c.placedAt), 0.0f);
        EXPECT_EQ(AudioTestSetup::Peak(again, c.placedAt + c.effectFrames, total), 0.0f);
    }
}

TEST_F(QueuedMixTest, AStoppedTrackFallsSilentFromThePlacementNotAfterTheQueue)
{
    StartMusic();
    const int queuedFrames = 8192, placedAt = 1024;
    std::vector<float> queued = AudioTestSetup::Pull(queuedFrames);
    ASSERT_GT(AudioTestSetup::Peak(queued, placedAt, queuedFrames - placedAt), 0.01f);
    AudioMixer& mixer = AudioMixer::Instance();
    long long from = mixer.RenderedFrames() - queuedFrames + placedAt;

    music.Stop();  // the music thread's track change: stopped and closed down
    std::vector<float> again(static_cast<std::size_t>(AudioMixer::kKeptFrames) * 2);
    ASSERT_EQ(mixer.Rerender(again.data(), from), queuedFrames - placedAt);
    EXPECT_EQ(AudioTestSetup::Peak(again, 0, queuedFrames - placedAt), 0.0f);
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(1024), 0, 1024), 0.0f);
}

TEST_F(QueuedMixTest, APlacementBeyondWhatIsKeptWaitsForTheNextFrames)
{
    LoadEffect(800);
    AudioMixer& mixer = AudioMixer::Instance();
    AudioTestSetup::Pull(AudioMixer::kKeptFrames + 100);
    bank->Play(SoundEffectId::PlayerShot);
    std::vector<float> again(static_cast<std::size_t>(AudioMixer::kKeptFrames) * 2);
    EXPECT_EQ(mixer.Rerender(again.data(), mixer.RenderedFrames() - AudioMixer::kKeptFrames - 50), 0);
    EXPECT_EQ(mixer.Rerender(again.data(), mixer.RenderedFrames()), 0);
    // Not lost: it starts with the next frames rendered.
    std::vector<float> next = AudioTestSetup::Pull(1000);
    EXPECT_GT(AudioTestSetup::Peak(next, 0, 800), kLevel * 0.5f);
}

}  // namespace
