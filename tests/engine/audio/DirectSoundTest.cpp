#include <gtest/gtest.h>

#include <cstring>

#include "platform/dsound/AudioCapture.h"
#include "platform/dsound/DSound.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/support/TestWindow.h"

namespace {

class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
        ASSERT_EQ(sound->SetCooperativeLevel(TestWindow(), DSSCL_NORMAL), DS_OK);
    }
    void TearDown() override
    {
        if (buffer) {
            buffer->Release();
        }
        sound->Release();
    }
    IDirectSoundBuffer* Create(WORD channels, DWORD rate, WORD bits, DWORD bytes)
    {
        format = {WAVE_FORMAT_PCM, channels, rate, rate * channels * bits / 8,
                  static_cast<WORD>(channels * bits / 8), bits, 0};
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwBufferBytes = bytes;
        desc.lpwfxFormat = &format;
        IDirectSoundBuffer* b = nullptr;
        return sound->CreateSoundBuffer(&desc, &b, nullptr) == DS_OK ? b : nullptr;
    }

    AudioTestSetup setup;
    IDirectSound* sound = nullptr;
    IDirectSoundBuffer* buffer = nullptr;
    WAVEFORMATEX format{};
};

TEST_F(DirectSoundTest, LockAcrossTheEndReturnsBothPartsOfTheRing)
{
    buffer = Create(1, 44100, 16, 1000);
    ASSERT_NE(buffer, nullptr);
    LPVOID p1 = nullptr, p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(900, 300, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(n2, 200u);
    // The tail part carries +0.25, the wrapped head part -0.5.
    for (DWORD i = 0; i < n1 / 2; ++i) {
        static_cast<std::int16_t*>(p1)[i] = 8192;
    }
    for (DWORD i = 0; i < n2 / 2; ++i) {
        static_cast<std::int16_t*>(p2)[i] = -16384;
    }
    ASSERT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    auto mix = AudioTestSetup::Pull(600);
    EXPECT_NEAR(mix[0], -0.5f, 1e-4);     // frame 0: head part
    EXPECT_NEAR(mix[2 * 99], -0.5f, 1e-4);
    EXPECT_EQ(mix[2 * 100], 0.0f);        // untouched middle
    EXPECT_NEAR(mix[2 * 450], 0.25f, 1e-4);  // frame 450 = byte 900: tail part
    EXPECT_EQ(mix[2 * 500], 0.0f);        // ended after 500 frames, not looping
}

TEST_F(DirectSoundTest, BadCallsAreRefused)
{
    buffer = Create(1, 44100, 16, 1000);
    ASSERT_NE(buffer, nullptr);
    LPVOID p1 = nullptr, p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    EXPECT_EQ(buffer->Lock(0, 1001, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(1000, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(900, 300, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    std::int16_t elsewhere[4];
    EXPECT_EQ(buffer->Unlock(elsewhere, 8, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(1000), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(1, 44100, 12, 1000), nullptr);  // no such sample width
    EXPECT_EQ(Create(1, 44100, 16, 2), nullptr);     // below the smallest buffer
}

TEST_F(DirectSoundTest, LostBufferRefusesLockAndPlayUntilRestored)
{
    buffer = Create(1, 44100, 16, 1000);
    ASSERT_NE(buffer, nullptr);
    AudioSimulateDeviceLoss();
    LPVOID p1 = nullptr, p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    EXPECT_EQ(buffer->Lock(0, 1000, &p1, &n1, &p2, &n2, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(buffer->Lock(0, 1000, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
}

TEST_F(DirectSoundTest, OtherRatesAndWidthsPlayAtTheirOwnSpeed)
{
    struct Case {
        WORD channels;
        DWORD rate;
        WORD bits;
        int expectFrames;  // at the mixer's 44100
    };
    const Case cases[] = {{1, 22050, 16, 2000}, {2, 44100, 8, 1000}, {2, 88200, 24, 500}, {1, 44100, 32, 1000}};
    for (const Case& c : cases) {
        IDirectSoundBuffer* b = Create(c.channels, c.rate, c.bits, 1000u * c.channels * c.bits / 8);
        ASSERT_NE(b, nullptr);
        LPVOID p1 = nullptr, p2 = nullptr;
        DWORD n1 = 0, n2 = 0;
        ASSERT_EQ(b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
        // Half of full scale in every sample (8-bit PCM is offset by 128).
        auto* bytes = static_cast<BYTE*>(p1);
        int width = c.bits / 8;
        for (DWORD i = 0; i < n1; i += width) {
            std::memset(bytes + i, 0, width);
            bytes[i + width - 1] = c.bits == 8 ? 0xC0 : 0x40;
        }
        b->Unlock(p1, n1, p2, n2);
        b->Play(0, 0, 0);
        auto mix = AudioTestSetup::Pull(2500);
        EXPECT_NEAR(mix[0], 0.5f, 0.01f) << c.rate << "/" << c.bits;
        EXPECT_NEAR(mix[1], 0.5f, 0.01f) << c.rate << "/" << c.bits;
        EXPECT_NEAR(mix[2 * (c.expectFrames - 2)], 0.5f, 0.01f) << c.rate << "/" << c.bits;
        EXPECT_EQ(mix[2 * (c.expectFrames + 1)], 0.0f) << c.rate << "/" << c.bits;
        b->Release();
    }
}

}  // namespace
