#include <gtest/gtest.h>

#include "engine/Application.h"
#include "engine/SoundEffectBank.h"
#include "platform/dsound/AudioCapture.h"
#include "tests/engine/audio/AudioTestSetup.h"
#include "tests/engine/audio/WavFixture.h"
#include "tests/support/TestWindow.h"

namespace {

using Bytes = WavFixture::Bytes;

constexpr int kRate = 44100;
constexpr int kEffectFrames = 4410;

// A constant level, so that one play and two overlapping plays are told apart by the sample.
std::vector<std::int16_t> Level(int frames, std::int16_t value)
{
    return std::vector<std::int16_t>(static_cast<std::size_t>(frames), value);
}

class SoundEffectBankTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(TestWindow(), nullptr);
        g_mainWindow = TestWindow();
        bank = new SoundEffectBank;
        ASSERT_TRUE(bank->Init());
        AudioTestSetup::Pull(1024);  // anything left sounding from an earlier test ends
    }
    void TearDown() override
    {
        delete bank;
        g_mainWindow = nullptr;
    }

    bool Load(SoundEffectId id, const Bytes& bytes, const char* name = "effect.wav")
    {
        std::string path = setup.PathOf(name);
        WavFixture::Write(path, bytes);
        return bank->LoadWave(id, path.c_str());
    }

    // What the sound-effect player task does at the start of a frame.
    void RunEffectPlayer()
    {
        std::uint8_t* flags = bank->GetRequestFlags();
        for (int i = 0; i < kSoundEffectCount; ++i) {
            if (flags[i]) {
                bank->Play(static_cast<SoundEffectId>(i));
                bank->SetRequest(static_cast<SoundEffectId>(i), 0);
            }
        }
    }

    AudioTestSetup setup;
    SoundEffectBank* bank = nullptr;
};

TEST_F(SoundEffectBankTest, LoadWaveAcceptsPcmAndRejectsMalformedFiles)
{
    const Bytes pcm = WavFixture::Pcm16(Level(100, 1000));
    const Bytes fmt = WavFixture::FormatChunk(1, 1, kRate, 16);
    struct Case {
        const char* what;
        Bytes file;
        bool loads;
    };
    Bytes truncated = WavFixture::Riff("WAVE", {fmt, WavFixture::Chunk("data", pcm)});
    truncated.resize(truncated.size() - 50);
    const Case cases[] = {
        {"16-bit mono", WavFixture::Mono16(kRate, Level(100, 1000)), true},
        {"16-byte format chunk", WavFixture::Riff("WAVE", {WavFixture::FormatChunk(1, 1, kRate, 16, false),
                                                           WavFixture::Chunk("data", pcm)}), true},
        {"8-bit stereo at 22050", WavFixture::Riff("WAVE", {WavFixture::FormatChunk(1, 2, 22050, 8),
                                                            WavFixture::Chunk("data", Bytes(400, 0xC0))}), true},
        {"a chunk before the data is skipped",
         WavFixture::Riff("WAVE", {fmt, WavFixture::Chunk("fact", Bytes(4, 0)), WavFixture::Chunk("data", pcm)}),
         true},
        {"an odd-sized chunk is padded to an even length",
         WavFixture::Riff("WAVE", {fmt, WavFixture::Chunk("note", Bytes(3, 7)), WavFixture::Chunk("data", pcm)}),
         true},
        {"format chunk not first",
         WavFixture::Riff("WAVE", {WavFixture::Chunk("LIST", Bytes(30, 1)), fmt, WavFixture::Chunk("data", pcm)}),
         false},
        {"data chunk first", WavFixture::Riff("WAVE", {WavFixture::Chunk("data", pcm), fmt}), false},
        {"first chunk shaped like a format chunk but named otherwise",
         WavFixture::Riff("WAVE", {WavFixture::Chunk("junk", Bytes(fmt.begin() + 8, fmt.end())), fmt,
                                   WavFixture::Chunk("data", pcm)}),
         false},
        {"not PCM", WavFixture::Riff("WAVE", {WavFixture::FormatChunk(3, 1, kRate, 32), WavFixture::Chunk("data", pcm)}),
         false},
        {"not a WAVE form", WavFixture::Riff("AVI ", {fmt, WavFixture::Chunk("data", pcm)}), false},
        {"no data chunk", WavFixture::Riff("WAVE", {fmt}), false},
        {"data chunk cut short", truncated, false},
        {"data length far past the file",
         WavFixture::Riff("WAVE", {fmt, WavFixture::Chunk("data", pcm, 0xFFFFFFF0u)}), false},
        {"data length past the RIFF",
         WavFixture::Riff("WAVE", {fmt, WavFixture::Chunk("data", pcm, static_cast<std::uint32_t>(pcm.size() + 2))}),
         false},
        {"format length past the file", WavFixture::Riff("WAVE", {WavFixture::Chunk("fmt ", Bytes(8, 1), 4000)}),
         false},
        {"RIFF length past the file",
         WavFixture::Riff("WAVE", {fmt, WavFixture::Chunk("data", pcm)}, 0x7FFFFFF0u), false},
        {"format chunk too short to read", WavFixture::Riff("WAVE", {WavFixture::Chunk("fmt ", Bytes(10, 1))}),
         false},
        {"zero channels", WavFixture::Riff("WAVE", {WavFixture::FormatChunk(1, 0, kRate, 16),
                                                    WavFixture::Chunk("data", pcm)}), false},
        {"empty file", Bytes{}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(SoundEffectId::CursorMove, c.file), c.loads) << c.what;
    }
    EXPECT_FALSE(bank->LoadWave(SoundEffectId::CursorMove, setup.PathOf("missing.wav").c_str()));
}

TEST_F(SoundEffectBankTest, PlayedEffectSoundsOnceForItsLength)
{
    ASSERT_TRUE(Load(SoundEffectId::PlayerShot, WavFixture::Mono16(kRate, Level(kEffectFrames, 16384))));
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(1024), 0, 1024), 0.0f);

    // Requested twice within one frame: one play, at the file's level, for the file's length.
    bank->SetRequest(SoundEffectId::PlayerShot, 1);
    bank->SetRequest(SoundEffectId::PlayerShot, 1);
    RunEffectPlayer();
    EXPECT_EQ(bank->GetRequestFlags()[static_cast<int>(SoundEffectId::PlayerShot)], 0);
    auto mix = AudioTestSetup::Pull(kEffectFrames + 1000);
    EXPECT_NEAR(mix[0], 0.5f, 1e-4);
    EXPECT_NEAR(mix[1], 0.5f, 1e-4);
    EXPECT_NEAR(AudioTestSetup::Peak(mix, 0, kEffectFrames), 0.5f, 1e-4);
    EXPECT_EQ(AudioTestSetup::Peak(mix, kEffectFrames, 1000), 0.0f);
    // Nothing raised: nothing plays.
    RunEffectPlayer();
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(kEffectFrames), 0, kEffectFrames), 0.0f);
}

TEST_F(SoundEffectBankTest, NewRequestRestartsTheEffectFromItsStart)
{
    // A ramp: the sample says how far into the effect the mix is.
    std::vector<std::int16_t> ramp;
    for (int i = 0; i < kEffectFrames; ++i) {
        ramp.push_back(static_cast<std::int16_t>(1 + i * 7));
    }
    ASSERT_TRUE(Load(SoundEffectId::ExplosionSmall, WavFixture::Mono16(kRate, ramp)));
    bank->SetRequest(SoundEffectId::ExplosionSmall, 1);
    RunEffectPlayer();
    auto first = AudioTestSetup::Pull(2000);
    EXPECT_NEAR(first[2 * 1999], (1 + 1999 * 7) / 32768.0f, 1e-5);

    bank->SetRequest(SoundEffectId::ExplosionSmall, 1);
    RunEffectPlayer();
    auto second = AudioTestSetup::Pull(kEffectFrames + 10);
    EXPECT_NEAR(second[0], 1 / 32768.0f, 1e-6);  // from the start, not layered on the first play
    EXPECT_NEAR(second[2 * 100], (1 + 100 * 7) / 32768.0f, 1e-5);
    EXPECT_GT(second[2 * (kEffectFrames - 1)], 0.9f);  // and for its whole length
    EXPECT_EQ(second[2 * kEffectFrames], 0.0f);
}

TEST_F(SoundEffectBankTest, TwoEffectsRaisedTogetherSoundTogether)
{
    ASSERT_TRUE(Load(SoundEffectId::PlayerHitBlast, WavFixture::Mono16(kRate, Level(kEffectFrames, 8192)), "a.wav"));
    ASSERT_TRUE(Load(SoundEffectId::PlayerHitCry, WavFixture::Mono16(kRate, Level(kEffectFrames, 4096)), "b.wav"));
    bank->SetRequest(SoundEffectId::PlayerHitBlast, 1);
    bank->SetRequest(SoundEffectId::PlayerHitCry, 1);
    RunEffectPlayer();
    auto mix = AudioTestSetup::Pull(100);
    EXPECT_NEAR(mix[10], 0.25f + 0.125f, 1e-4);
}

TEST_F(SoundEffectBankTest, PlayOfAnEmptySlotIsIgnored)
{
    bank->Play(SoundEffectId::Warning);
    bank->ReleaseBuffer(SoundEffectId::Warning);
    EXPECT_EQ(AudioTestSetup::Peak(AudioTestSetup::Pull(512), 0, 512), 0.0f);
}

TEST_F(SoundEffectBankTest, LostBufferIsRestoredOnceWhileLoading)
{
    AudioSimulateDeviceLoss();
    ASSERT_TRUE(Load(SoundEffectId::MenuSelect, WavFixture::Mono16(kRate, Level(kEffectFrames, 16384))));
    bank->Play(SoundEffectId::MenuSelect);
    EXPECT_NEAR(AudioTestSetup::Peak(AudioTestSetup::Pull(256), 0, 256), 0.5f, 1e-4);
}

}  // namespace
