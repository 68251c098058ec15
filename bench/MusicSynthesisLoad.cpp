// Measures the CPU share of the music synthesis: a busy General MIDI arrangement rendered
// through the performance and the mixer for a stretch of music, timed by the thread's CPU clock.
#include <time.h>

#include <cstdio>
#include <vector>

#include "engine/Application.h"
#include "engine/MusicPlayer.h"
#include "platform/dmusic/DMusic.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "tests/engine/audio/MidiFixture.h"

namespace {

double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// Eight instruments and drums, eighth notes with chords: denser than a game's background music.
MidiFixture BusyArrangement(int bars)
{
    MidiFixture m(480);
    m.Tempo(0, 400000);
    const int programs[8] = {0, 33, 48, 61, 73, 81, 89, 24};
    for (int ch = 0; ch < 8; ++ch) {
        m.Program(0, ch, programs[ch]);
    }
    for (int step = 0; step < bars * 8; ++step) {
        std::uint32_t t = static_cast<std::uint32_t>(step) * 240;
        for (int ch = 0; ch < 8; ++ch) {
            int root = 48 + ch * 3 + (step / 8) % 5;
            m.Note(t, 230, ch, root, 90);
            if (ch % 2 == 0) {
                m.Note(t, 230, ch, root + 4, 80);
                m.Note(t, 230, ch, root + 7, 80);
            }
        }
        m.Note(t, 100, 9, step % 2 ? 42 : 36, 100);
        if (step % 4 == 2) {
            m.Note(t, 100, 9, 38, 100);
        }
    }
    m.End(static_cast<std::uint32_t>(bars) * 8 * 240);
    return m;
}

}  // namespace

// With a MIDI file as argument, that file is measured instead (looped for the whole stretch).
int main(int argc, char** argv)
{
    AudioSetPullMode(true);
    CoInitialize(nullptr);
    std::string song = argc > 1 ? argv[1] : "busy.mid";
    if (argc <= 1) {
        char folder[] = "/tmp/musicbench.XXXXXX";
        if (!mkdtemp(folder)) {
            return 1;
        }
        SetCurrentDirectoryA(folder);
        BusyArrangement(32).Write(std::string(folder) + "/busy.mid");
    }

    MusicPlayer player;
    if (!player.Load(song.c_str()) || player.Play(0, 0, 0, 0, 1) != S_OK) {
        std::fprintf(stderr, "music did not start (soundfont missing?)\n");
        return 1;
    }
    const int rate = AudioOutputRate();
    const int block = 512;
    const int seconds = 60;
    std::vector<float> mix(block * 2);
    double cpu0 = ThreadCpuSeconds();
    for (long frames = 0; frames < static_cast<long>(seconds) * rate; frames += block) {
        AudioPull(mix.data(), block);
    }
    double cpu = ThreadCpuSeconds() - cpu0;
    player.Stop();
    std::printf("music synthesis of %s: %d s of music at %d Hz took %.3f s of CPU: %.2f%% of one core\n",
                song.c_str(), seconds, rate, cpu, 100.0 * cpu / seconds);
    CoUninitialize();
    return 0;
}
