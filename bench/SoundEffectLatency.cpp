// Measures the delay from SoundEffectBank::Play to the first audible sample of the effect in the
// mix, through the real SDL audio device (the driver SDL_AUDIODRIVER names, or the default).
// Printed: the time until the mixer rendered that sample, and that time plus the device's block
// (the sample still has to leave the device's buffer).
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "engine/Application.h"
#include "engine/SoundEffectBank.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "tests/engine/audio/WavFixture.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> g_armed{false};
std::atomic<long long> g_heardNs{-1};

void Capture(const float* samples, int frames)
{
    if (!g_armed.load() || g_heardNs.load() >= 0) {
        return;
    }
    for (int i = 0; i < frames; ++i) {
        if (samples[2 * i] != 0.0f) {
            // The block is rendered now; sample i plays i frames after the block's start.
            auto at = Clock::now().time_since_epoch() + std::chrono::nanoseconds(
                                                             static_cast<long long>(i * 1e9 / AudioOutputRate()));
            g_heardNs = std::chrono::duration_cast<std::chrono::nanoseconds>(at).count();
            return;
        }
    }
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * (v.size() - 1))];
}

}  // namespace

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "LatencyBench";
    RegisterClassA(&wc);
    g_mainWindow = CreateWindowExA(0, "LatencyBench", "bench", WS_CAPTION, 0, 0, 64, 64, nullptr, nullptr, nullptr,
                                   nullptr);
    SoundEffectBank bank;
    if (!bank.Init()) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    const char* path = "/tmp/latency_bench.wav";
    WavFixture::Write(path, WavFixture::Mono16(44100, std::vector<std::int16_t>(2205, 12000)));
    if (!bank.LoadWave(SoundEffectId::PlayerShot, path)) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    AudioSetCaptureHook(Capture);

    const int runs = 200;
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        // Let the previous play end, then play at a random point of the device's cycle.
        std::this_thread::sleep_for(std::chrono::milliseconds(60 + r % 7));
        g_heardNs = -1;
        auto before = Clock::now();
        g_armed = true;
        bank.Play(SoundEffectId::PlayerShot);
        while (g_heardNs.load() < 0 && Clock::now() - before < std::chrono::seconds(2)) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        g_armed = false;
        if (g_heardNs.load() < 0) {
            continue;
        }
        long long start = std::chrono::duration_cast<std::chrono::nanoseconds>(before.time_since_epoch()).count();
        ms.push_back((g_heardNs.load() - start) / 1e6);
    }
    AudioSetCaptureHook({});
    if (ms.empty()) {
        std::fprintf(stderr, "nothing was heard\n");
        return 1;
    }
    double block = AudioBlockFrames() * 1000.0 / AudioOutputRate();
    std::printf("audio driver: %s, rate %d Hz, block %d frames (%.1f ms)\n",
                SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "?", AudioOutputRate(), AudioBlockFrames(),
                block);
    std::printf("Play -> first sample rendered in the mix over %zu plays: median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                ms.size(), Percentile(ms, 0.5), Percentile(ms, 0.95), Percentile(ms, 1.0));
    std::printf("with the device block still ahead of it: median %.2f ms, p95 %.2f ms\n", Percentile(ms, 0.5) + block,
                Percentile(ms, 0.95) + block);
    return 0;
}
