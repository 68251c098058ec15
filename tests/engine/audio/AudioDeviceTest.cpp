#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "engine/Application.h"
#include "engine/SoundEffectBank.h"
#include "platform/dsound/AudioCapture.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/engine/audio/WavFixture.h"
#include "tests/support/TestWindow.h"

namespace {

// The same path as in the game: an SDL audio device (the dummy driver here) whose callback runs
// the mixer; the capture hook sees what the device was given.
TEST(AudioDeviceTest, PlayedEffectReachesTheSdlDevice)
{
    // Headless: SDL's dummy driver stands in for a sound card.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    AudioTestSetup setup;
    AudioSetPullMode(false);
    g_mainWindow = TestWindow();
    std::atomic<int> loudFrames{0};
    AudioSetCaptureHook([&](const float* samples, int frames) {
        for (int i = 0; i < frames; ++i) {
            loudFrames += samples[2 * i] > 0.2f;
        }
    });
    {
        SoundEffectBank bank;
        ASSERT_TRUE(bank.Init());
        std::string path = setup.PathOf("alarm.wav");
        WavFixture::Write(path, WavFixture::Mono16(22050, std::vector<std::int16_t>(2205, 12000)));
        ASSERT_TRUE(bank.LoadWave(SoundEffectId::Warning, path.c_str()));
        bank.Play(SoundEffectId::Warning);
        // The device runs in real time; the effect lasts 100 ms. Waits for it without timing it.
        for (int i = 0; i < 500 && loudFrames.load() < 4410; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    AudioSetCaptureHook({});
    EXPECT_EQ(AudioOutputRate(), 44100);
    EXPECT_NEAR(loudFrames.load(), 4410, 2);  // played once, resampled to the device's rate
    g_mainWindow = nullptr;
}

}  // namespace
