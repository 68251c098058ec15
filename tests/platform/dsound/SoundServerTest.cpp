// The audio output through a real sound server (a private PulseAudio with a null sink, recorded
// from its monitor), in a program of its own: SDL picks its audio driver once per process.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/dsound/DSound.h"
#include "platform/win32/Win32.h"
#include "tests/support/SoundServer.h"
#include "tests/support/TestWindow.h"

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
// The name the game's stream goes by in the server; SDL's stream is given it too, by its hint.
constexpr const char* kStream = "Pellmoor";

// A 16-bit mono buffer holding a sine of the given period in frames.
IDirectSoundBuffer* SineBuffer(IDirectSound* sound, int period, int frames)
{
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = kRate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 2;
    f.nAvgBytesPerSec = kRate * 2;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwBufferBytes = static_cast<DWORD>(frames * 2);
    desc.lpwfxFormat = &f;
    IDirectSoundBuffer* buffer = nullptr;
    if (sound->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK) {
        return nullptr;
    }
    void* p1;
    void* p2;
    DWORD n1, n2;
    buffer->Lock(0, desc.dwBufferBytes, &p1, &n1, &p2, &n2, 0);
    auto* s = static_cast<std::int16_t*>(p1);
    for (int i = 0; i < frames; ++i) {
        s[i] = static_cast<std::int16_t>(std::lround(8000 * std::sin(2 * kPi * i / period)));
    }
    buffer->Unlock(p1, n1, p2, n2);
    return buffer;
}

// How strongly each window of `period` frames (left channel) holds a sine of that period, and at
// which phase.
struct Window {
    double amplitude, phase;
};
std::vector<Window> Analyse(const std::vector<std::int16_t>& s, int period, int windowFrames)
{
    std::vector<Window> out;
    for (std::size_t start = 0; start + windowFrames <= s.size() / 2; start += windowFrames) {
        double c = 0, q = 0;
        for (int i = 0; i < windowFrames; ++i) {
            double v = s[2 * (start + i)] / 32768.0;
            c += v * std::cos(2 * kPi * i / period);
            q += v * std::sin(2 * kPi * i / period);
        }
        out.push_back({2 * std::hypot(c, q) / windowFrames, std::atan2(c, q)});
    }
    return out;
}

// Through a sound server the output keeps a deep queue there, so that a stall of the game or of
// the server is not heard; a sound started meanwhile is written into that queue: it is heard
// once and whole, and the tone under it runs on without a jump where the queue was rewritten.
TEST(SoundServerTest, DeepQueueTakesANewSoundWholeOverAnUnbrokenTone)
{
    SoundServer server;
    ASSERT_TRUE(server.Start() && server.HoldShortLatency()) << server.Error();
    setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    setenv("SDL_AUDIO_DEVICE_STREAM_NAME", kStream, 1);
    HWND window = TestWindow();
    ASSERT_NE(window, nullptr);

    IDirectSound* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    ASSERT_EQ(sound->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    const int tonePeriod = 100;   // 441 Hz: every 100-frame window holds whole periods
    const int soundPeriod = 20;   // 2205 Hz: orthogonal to the tone over the same window
    const int soundFrames = 4410;
    IDirectSoundBuffer* tone = SineBuffer(sound, tonePeriod, kRate);
    IDirectSoundBuffer* burst = SineBuffer(sound, soundPeriod, soundFrames);
    ASSERT_TRUE(tone && burst);
    ASSERT_EQ(tone->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(server.StartRecording()) << server.Error();

    // Once the stream runs, what the server holds of it.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    std::string queued = server.StreamProperty(kStream, "Buffer Latency");
    long long queuedUs = std::atoll(queued.c_str());
    EXPECT_GE(queuedUs, 40000) << "queued in the server: " << queued;

    ASSERT_EQ(burst->Play(0, 0, 0), DS_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    tone->Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::vector<std::int16_t> recording = server.StopRecording();
    burst->Release();
    tone->Release();
    sound->Release();

    std::vector<Window> toneWindows = Analyse(recording, tonePeriod, tonePeriod);
    std::vector<Window> soundWindows = Analyse(recording, soundPeriod, tonePeriod);
    // The burst: one stretch of windows, as long as the buffer.
    int stretches = 0, length = 0, first = -1;
    for (std::size_t i = 0; i < soundWindows.size(); ++i) {
        bool on = soundWindows[i].amplitude > 0.12;
        if (on && (i == 0 || soundWindows[i - 1].amplitude <= 0.12)) {
            ++stretches;
            first = first < 0 ? static_cast<int>(i) : first;
        }
        length += on;
    }
    ASSERT_EQ(stretches, 1) << "the new sound must be heard once";
    EXPECT_NEAR(length * tonePeriod, soundFrames, 2 * tonePeriod);
    // The tone around it: every window at full strength and at the phase of the first, so no
    // frame was lost, repeated or shifted where the queue was rewritten. A window that the burst
    // covers only in part is left out: over a part the two sines are not apart.
    const double full = 8000 / 32768.0;
    auto partial = [&](int i) {
        return soundWindows[i].amplitude > 0.005 && soundWindows[i].amplitude < full - 0.002;
    };
    int from = std::max(0, first - 20), to = std::min<int>(toneWindows.size() - 1, first + 70);
    double phase = toneWindows[from].phase;
    int checked = 0;
    for (int i = from; i <= to; ++i) {
        if (partial(i)) {
            continue;
        }
        ++checked;
        EXPECT_NEAR(toneWindows[i].amplitude, full, 0.01) << "window " << i << ", burst at " << first;
        // A frame out of place turns the phase by 2 pi / 100, about 0.063.
        EXPECT_NEAR(std::remainder(toneWindows[i].phase - phase, 2 * kPi), 0.0, 0.03)
            << "window " << i << ", burst at " << first;
    }
    EXPECT_GT(checked, 80);
}

}  // namespace
