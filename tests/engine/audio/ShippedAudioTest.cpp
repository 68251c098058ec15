// The program's own sound effects and music tracks, as the build puts them beside the program,
// go through the same loading and playing as in the game.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/Application.h"
#include "engine/MusicPlayer.h"
#include "engine/MusicTrack.h"
#include "engine/SoundEffectBank.h"
#include "platform/dmusic/DMusic.h"
#include "platform/dmusic/MidiFile.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/support/TestWindow.h"

namespace {

constexpr int kRate = 44100;

class ShippedAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(MAX_PATH, savedDirectory);
        ASSERT_TRUE(SetCurrentDirectoryA(PELLMOOR_PROGRAM_DIR));
        g_mainWindow = TestWindow();
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(savedDirectory);
        g_mainWindow = nullptr;
    }
    AudioTestSetup setup;
    char savedDirectory[MAX_PATH] = {};
};

TEST_F(ShippedAudioTest, EveryEffectLoadsAndSounds)
{
    SoundEffectBank bank;
    ASSERT_TRUE(bank.Init());
    for (int i = 0; i < kSoundEffectCount; ++i) {
        auto id = static_cast<SoundEffectId>(i);
        ASSERT_TRUE(bank.LoadWave(id, kSoundEffectFiles[i])) << kSoundEffectFiles[i];
        bank.Play(id);
        auto mix = AudioTestSetup::Pull(kRate / 4);
        EXPECT_GT(AudioTestSetup::Peak(mix, 0, kRate / 4), 0.01f) << kSoundEffectFiles[i];
        bank.ReleaseBuffer(id);
    }
}

TEST_F(ShippedAudioTest, EveryTrackPlaysWithItsSettingsAndItsLoopFitsTheFile)
{
    CoInitialize(nullptr);
    for (int track = kFirstMusicTrack; track <= kLastMusicTrack; ++track) {
        const MusicTrackEntry* entry = FindMusicTrack(track);
        ASSERT_NE(entry, nullptr);
        MidiFile file;
        ASSERT_TRUE(file.LoadFile(Win32HostPath(entry->file))) << entry->file;
        double lengthMusicTime = static_cast<double>(file.LengthTicks()) * DMUS_PPQ / file.Division();
        EXPECT_LE(entry->loopEnd, lengthMusicTime) << entry->file << ": the loop would fall back to the whole file";

        MusicPlayer player;
        ASSERT_TRUE(player.Load(entry->file)) << entry->file;
        EXPECT_EQ(player.Play(entry->start, entry->loopStart, entry->loopEnd, entry->volume, entry->loopForever), S_OK);
        auto mix = AudioTestSetup::Pull(3 * kRate);
        EXPECT_GT(AudioTestSetup::Peak(mix, 0, 3 * kRate), 0.02f) << entry->file;
        player.Stop();
    }
    CoUninitialize();
}

// Twenty seconds of a busy fight: every frame some of the shot, hit, explosion and item effects
// start again over the stage music, as in the thick of a boss fight.
TEST_F(ShippedAudioTest, ABusyFightOverTheMusicNeverClips)
{
    CoInitialize(nullptr);
    SoundEffectBank bank;
    ASSERT_TRUE(bank.Init());
    for (int i = 0; i < kSoundEffectCount; ++i) {
        ASSERT_TRUE(bank.LoadWave(static_cast<SoundEffectId>(i), kSoundEffectFiles[i])) << kSoundEffectFiles[i];
    }
    const MusicTrackEntry* entry = FindMusicTrack(2);
    ASSERT_NE(entry, nullptr);
    MusicPlayer player;
    ASSERT_TRUE(player.Load(entry->file));
    ASSERT_EQ(player.Play(entry->start, entry->loopStart, entry->loopEnd, entry->volume, entry->loopForever), S_OK);
    const int busy[] = {7, 8, 9, 10, 11, 12, 13, 14, 15, 2, 0};
    std::srand(77);
    int clipped = 0;
    float peak = 0;
    for (int frame = 0; frame < 20 * 60; ++frame) {
        for (int id : busy) {
            if (std::rand() % 20 == 0) {
                bank.Play(static_cast<SoundEffectId>(id));
            }
        }
        for (float s : AudioTestSetup::Pull(kRate / 60)) {
            clipped += std::fabs(s) >= 0.999f ? 1 : 0;
            peak = std::max(peak, std::fabs(s));
        }
    }
    player.Stop();
    CoUninitialize();
    EXPECT_EQ(clipped, 0);
    EXPECT_GT(peak, 0.5f) << "still loud";
    AudioTestSetup::Pull(kRate);  // the limiter recovers before the next test
}

}  // namespace
