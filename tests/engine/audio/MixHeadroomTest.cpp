// The mix of many sounds at once stays below full scale: the mixer turns a loud sum down
// instead of cutting its peaks off, and leaves a sound that fits untouched.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/dsound/DSound.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/support/TestWindow.h"

namespace {

constexpr int kRate = 44100;
constexpr int kFrames = kRate / 2;
constexpr float kSourcePeak = 0.89f;  // as loud as the program's own effects are made

std::int16_t ToneSample(double hz, int i)
{
    return static_cast<std::int16_t>(std::lround(kSourcePeak * 32767 * std::sin(2 * M_PI * hz * i / kRate)));
}

int Clipped(const std::vector<float>& mix)
{
    int n = 0;
    for (float s : mix) {
        n += std::fabs(s) >= 0.999f ? 1 : 0;
    }
    return n;
}

class MixHeadroomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
        ASSERT_EQ(sound->SetCooperativeLevel(TestWindow(), DSSCL_NORMAL), DS_OK);
    }
    void TearDown() override
    {
        for (IDirectSoundBuffer* b : buffers) {
            b->Release();
        }
        sound->Release();
        AudioTestSetup::Pull(kRate);  // the limiter recovers before the next test
    }
    // A 16-bit mono tone of the frequency at kSourcePeak, loaded into a new buffer.
    IDirectSoundBuffer* Tone(double hz)
    {
        WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0};
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwBufferBytes = kFrames * 2;
        desc.lpwfxFormat = &format;
        IDirectSoundBuffer* b = nullptr;
        EXPECT_EQ(sound->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
        if (!b) {
            return nullptr;
        }
        LPVOID p1 = nullptr, p2 = nullptr;
        DWORD n1 = 0, n2 = 0;
        EXPECT_EQ(b->Lock(0, kFrames * 2, &p1, &n1, &p2, &n2, 0), DS_OK);
        auto* samples = static_cast<std::int16_t*>(p1);
        for (int i = 0; i < kFrames; ++i) {
            samples[i] = ToneSample(hz, i);
        }
        EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
        buffers.push_back(b);
        return b;
    }

    AudioTestSetup setup;
    IDirectSound* sound = nullptr;
    std::vector<IDirectSoundBuffer*> buffers;
};

TEST_F(MixHeadroomTest, ManySoundsAtOnceNeverReachFullScale)
{
    // Twelve loud tones started together, several in phase, sum to about ten times full scale.
    for (int i = 0; i < 12; ++i) {
        IDirectSoundBuffer* b = Tone(220.0 * (1 + i % 4));
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    }
    auto mix = AudioTestSetup::Pull(kFrames);
    EXPECT_EQ(Clipped(mix), 0);
    EXPECT_LT(AudioTestSetup::Peak(mix, 0, kFrames), 0.96f) << "headroom kept";
    EXPECT_GT(AudioTestSetup::Peak(mix, kFrames / 2, kFrames / 2), 0.8f) << "turned down, not silenced";
}

TEST_F(MixHeadroomTest, ASoundThatFitsPassesUntouchedAlsoAfterALoudSum)
{
    IDirectSoundBuffer* single = Tone(440.0);
    ASSERT_NE(single, nullptr);
    std::vector<float> expected(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        expected[i] = ToneSample(440.0, i) / 32768.0f;
    }
    auto playSingle = [&] {
        ASSERT_EQ(single->SetCurrentPosition(0), DS_OK);
        ASSERT_EQ(single->Play(0, 0, 0), DS_OK);
        auto mix = AudioTestSetup::Pull(kFrames);
        for (int i = 0; i < kFrames; ++i) {
            ASSERT_NEAR(mix[2 * i], expected[i], 1e-4f) << "frame " << i;
            ASSERT_NEAR(mix[2 * i + 1], expected[i], 1e-4f) << "frame " << i;
        }
    };
    playSingle();
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(Tone(440.0)->Play(0, 0, 0), DS_OK);
    }
    AudioTestSetup::Pull(kFrames);
    AudioTestSetup::Pull(kRate);  // a second of quiet: the gain is back at 1
    playSingle();
}

}  // namespace
