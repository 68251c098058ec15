// Plays a minute of the first stage with firing through a sound server, as a player would hear
// it, on a machine whose other cores are busy, and prints what the recording holds: the silent
// gaps of 5 ms or more while the stage music plays (the music sounds throughout, so each is a
// drop-out) and the delay from a fire key to the shot's sound.
//
// A private PulseAudio server (no system files, a socket in a scratch folder) gets a null sink;
// parec records the sink's monitor. The game is the built program, copied into the scratch
// folder and started on a private Xvfb with SDL's pulseaudio driver. Keys reach it through
// XTest, the way a keyboard's do.
//
// Timing: a key's time is taken when the X server has taken the fake key (XSync returned). The
// recording's clock is tied to the same steady clock by the arrival of parec's data: sample n
// left the sink no later than the read that brought it, so the earliest (arrival - n / rate)
// over the run is when sample 0 left it, give or take a read's wake-up. The shot's onset is found
// by matching its WAV file against the recording after each key.
//
//   bench_SoundServerDropouts [--seconds N] [--idle] [--keep] [--server ADDRESS]
//     --idle  leave the other cores alone; --keep  keep the scratch folder (recording, logs)
//     --server  use a server that is already running (e.g. PipeWire's PulseAudio service at
//               unix:/run/user/0/pulse/native) instead of starting one; its null sink is removed
//               at the end
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/MusicPlayer.h"
#include "engine/MusicTrack.h"
#include "platform/dmusic/DMusic.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SoundServer.h"
#include "tests/support/XvfbDisplay.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kGapFrames = kRate * 5 / 1000 + 1;  // 5 ms and more
constexpr int kSilentLevel = 1;                   // |sample| at or below this in 16 bits is silence

double Seconds(Clock::time_point t)
{
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

double Now()
{
    return Seconds(Clock::now());
}

void SleepFor(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// ---- the recording ----

// parec's raw output, read as it comes, with the time each piece arrived.
class Recorder {
public:
    explicit Recorder(int fd) : fd_(fd), thread_([this] { Read(); }) {}
    ~Recorder()
    {
        thread_.join();
        close(fd_);
    }
    std::vector<std::int16_t> Samples()
    {
        std::lock_guard lock(mutex_);
        return samples_;
    }
    // The steady-clock time at which frame 0 left the sink, and the sink's frames per second of
    // that clock: the sink keeps its own clock, a little off the steady one, so the mapping is a
    // line fitted under the arrivals from the given frame on, through the earliest arrival of
    // each second. (Until a playing stream asks for a short latency the null sink renders two
    // seconds at a time, so the arrivals before the game's sound tell nothing.)
    std::pair<double, double> Timeline(double fromFrame)
    {
        std::lock_guard lock(mutex_);
        std::vector<std::pair<double, double>> floor;  // (frame, arrival - frame / kRate)
        std::size_t start = 0;
        while (start < arrivals_.size() && arrivals_[start].first < fromFrame) {
            ++start;
        }
        for (std::size_t i = start; i < arrivals_.size();) {
            std::size_t j = i;
            std::pair<double, double> best{arrivals_[i].first, 1e300};
            for (; j < arrivals_.size() && arrivals_[j].second < arrivals_[i].second + 1.0; ++j) {
                double off = arrivals_[j].second - arrivals_[j].first / kRate;
                if (off < best.second) {
                    best = {arrivals_[j].first, off};
                }
            }
            floor.push_back(best);
            i = j;
        }
        if (floor.size() < 2) {
            return {floor.empty() ? 0.0 : floor[0].second, kRate};
        }
        double n = static_cast<double>(floor.size()), sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (auto [x, y] : floor) {
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
        }
        double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
        double zero = (sy - slope * sx) / n;
        // Lowered onto the lowest point, so that no arrival is earlier than its frame left.
        double lowest = 0;
        for (auto [x, y] : floor) {
            lowest = std::min(lowest, y - (zero + slope * x));
        }
        return {zero + lowest, 1.0 / (1.0 / kRate + slope)};
    }

private:
    void Read()
    {
        std::vector<char> buffer(1 << 16);
        std::string carry;
        for (;;) {
            ssize_t n = read(fd_, buffer.data(), buffer.size());
            double at = Now();
            if (n <= 0) {
                return;
            }
            std::lock_guard lock(mutex_);
            carry.append(buffer.data(), static_cast<std::size_t>(n));
            std::size_t whole = carry.size() / 4 * 4;
            std::size_t before = samples_.size();
            samples_.resize(before + whole / 2);
            std::memcpy(samples_.data() + before, carry.data(), whole);
            carry.erase(0, whole);
            // The last frame read had left the sink by now.
            arrivals_.push_back({static_cast<double>(samples_.size() / 2 - 1), at});
        }
    }

    int fd_;
    std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    std::vector<std::pair<double, double>> arrivals_;
    std::thread thread_;
};

struct Gap {
    std::size_t start, frames;
};

// Runs of silence of kGapFrames or more in [from, to) of interleaved stereo.
std::vector<Gap> SilentGaps(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to)
{
    std::vector<Gap> gaps;
    std::size_t run = 0;
    to = std::min(to, s.size() / 2);
    for (std::size_t i = from; i < to; ++i) {
        bool silent = std::abs(s[2 * i]) <= kSilentLevel && std::abs(s[2 * i + 1]) <= kSilentLevel;
        if (silent) {
            ++run;
        }
        if ((!silent || i + 1 == to) && run > 0) {
            std::size_t end = silent ? i + 1 : i;
            if (run >= static_cast<std::size_t>(kGapFrames)) {
                gaps.push_back({end - run, run});
            }
            run = 0;
        }
    }
    return gaps;
}

// The longest silence in [from, to): where one track was cut and the next begins.
Gap LongestSilence(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to)
{
    Gap best{from, 0};
    std::size_t run = 0;
    to = std::min(to, s.size() / 2);
    for (std::size_t i = from; i < to; ++i) {
        bool silent = std::abs(s[2 * i]) <= kSilentLevel && std::abs(s[2 * i + 1]) <= kSilentLevel;
        run = silent ? run + 1 : 0;
        if (run > best.frames) {
            best = {i + 1 - run, run};
        }
    }
    return best;
}

// The 16-bit mono samples of a PCM WAV file.
std::vector<float> ReadMonoWav(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> out;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        std::uint32_t size = 0;
        std::memcpy(&size, &bytes[at + 4], 4);
        if (std::memcmp(&bytes[at], "data", 4) == 0) {
            std::size_t n = std::min<std::size_t>(size, bytes.size() - at - 8) / 2;
            for (std::size_t i = 0; i < n; ++i) {
                std::int16_t v;
                std::memcpy(&v, &bytes[at + 8 + 2 * i], 2);
                out.push_back(v / 32768.0f);
            }
            break;
        }
        at += 8 + size + (size & 1);
    }
    return out;
}

// The frame in [from, to) where the template lines up best with the recording (left plus right),
// and how well (normalised correlation, 1 for the template alone).
std::pair<std::size_t, double> BestMatch(const std::vector<std::int16_t>& s, const std::vector<float>& t,
                                         std::size_t from, std::size_t to)
{
    std::size_t frames = s.size() / 2;
    if (frames < t.size()) {
        return {0, 0.0};
    }
    to = std::min(to, frames - t.size());
    double tt = 0;
    for (float v : t) {
        tt += double(v) * v;
    }
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        x[i] = (s[2 * i] + s[2 * i + 1]) / 65536.0f;
    }
    std::size_t best = from;
    double bestScore = 0;
    for (std::size_t d = from; d < to; ++d) {
        double xt = 0, xx = 0;
        for (std::size_t k = 0; k < t.size(); ++k) {
            xt += double(x[d + k]) * t[k];
            xx += double(x[d + k]) * x[d + k];
        }
        double score = xx > 0 ? xt / std::sqrt(xx * tt) : 0;
        if (score > bestScore) {
            bestScore = score;
            best = d;
        }
    }
    return {best, bestScore};
}

// ---- the keyboard ----

class Keyboard {
public:
    Keyboard() : display_(XOpenDisplay(nullptr)) {}
    ~Keyboard()
    {
        if (display_) {
            XCloseDisplay(display_);
        }
    }
    bool Ok() const { return display_ != nullptr; }

    // The game's top-level window, once it is mapped.
    bool FindGame(double timeout)
    {
        for (double end = Now() + timeout; Now() < end; SleepFor(0.05)) {
            window_ = Find(DefaultRootWindow(display_));
            if (window_) {
                XWindowAttributes a{};
                XGetWindowAttributes(display_, window_, &a);
                XTestFakeMotionEvent(display_, -1, a.x + a.width / 2, a.y + a.height / 2, CurrentTime);
                XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
                XSync(display_, False);
                return true;
            }
        }
        return false;
    }
    // The key is down (or up) for the server when this returns; the time of that.
    double Key(KeySym key, bool down)
    {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), down ? True : False, CurrentTime);
        XSync(display_, False);
        return Now();
    }
    void Tap(KeySym key)
    {
        Key(key, true);
        SleepFor(0.1);
        Key(key, false);
    }

private:
    Window Find(Window w)
    {
        char* name = nullptr;
        if (XFetchName(display_, w, &name) && name) {
            bool game = std::strcmp(name, "Pellmoor") == 0;
            XFree(name);
            XWindowAttributes a{};
            if (game && XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable) {
                return w;
            }
        }
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (XQueryTree(display_, w, &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !found; ++i) {
                found = Find(children[i]);
            }
            if (children) {
                XFree(children);
            }
        }
        return found;
    }

    Display* display_;
    Window window_ = 0;
};

// ---- the load ----

// One spinning thread on every core this process may use but the first.
class BusyCores {
public:
    explicit BusyCores(bool on)
    {
        cpu_set_t allowed;
        CPU_ZERO(&allowed);
        sched_getaffinity(0, sizeof(allowed), &allowed);
        bool first = true;
        for (int cpu = 0; on && cpu < CPU_SETSIZE; ++cpu) {
            if (!CPU_ISSET(cpu, &allowed)) {
                continue;
            }
            if (first) {
                first = false;
                continue;
            }
            threads_.emplace_back([this, cpu] {
                cpu_set_t one;
                CPU_ZERO(&one);
                CPU_SET(cpu, &one);
                sched_setaffinity(0, sizeof(one), &one);
                volatile std::uint64_t n = 0;
                while (!stop_.load(std::memory_order_relaxed)) {
                    n = n + 1;
                }
            });
        }
    }
    ~BusyCores()
    {
        stop_ = true;
        for (auto& t : threads_) {
            t.join();
        }
    }
    int Count() const { return static_cast<int>(threads_.size()); }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// ---- the music alone ----

// Silences of 5 ms or more in the stage music itself, rendered without a device, after its first
// sound and over the given length.
int MusicOwnGaps(const fs::path& programFolder, double seconds)
{
    AudioSetPullMode(true);
    CoInitialize(nullptr);
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(programFolder.c_str());
    int gaps = -1;
    {
        MusicPlayer player;
        const MusicTrackEntry* stage = FindMusicTrack(static_cast<int>(MusicTrack::Stage));
        if (player.Load(stage->file) && player.Play(stage->start, stage->loopStart, stage->loopEnd, stage->volume,
                                                    stage->loopForever) == S_OK) {
            std::vector<float> mix(static_cast<std::size_t>(seconds * kRate + 2 * kRate) * 2);
            AudioPull(mix.data(), static_cast<int>(mix.size() / 2));
            std::vector<std::int16_t> pcm(mix.size());
            for (std::size_t i = 0; i < mix.size(); ++i) {
                pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i], -1.0f, 1.0f) * 32767));
            }
            std::size_t first = 0;
            while (first < pcm.size() / 2 && std::abs(pcm[2 * first]) <= kSilentLevel &&
                   std::abs(pcm[2 * first + 1]) <= kSilentLevel) {
                ++first;
            }
            gaps = static_cast<int>(
                SilentGaps(pcm, first, first + static_cast<std::size_t>(seconds * kRate)).size());
        }
        player.Stop();
    }
    SetCurrentDirectoryA(saved);
    CoUninitialize();
    return gaps;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::lround(p * (v.size() - 1)))];
}

bool WaitFor(const std::function<bool()>& done, double timeout)
{
    for (double end = Now() + timeout; Now() < end; SleepFor(0.05)) {
        if (done()) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 60;
    bool busy = true;
    bool keep = false;
    std::string given;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (a == "--idle") {
            busy = false;
        } else if (a == "--keep") {
            keep = true;
        } else if (a == "--server" && i + 1 < argc) {
            given = argv[++i];
        }
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    char pattern[] = "/tmp/sound-server-bench.XXXXXX";
    if (!mkdtemp(pattern)) {
        return 1;
    }
    const fs::path root = pattern;
    const fs::path program = root / "program";
    fs::copy(PROGRAM_DIR, program, fs::copy_options::recursive);
    fs::remove(program / "Pellmoor.ini");
    fs::remove(program / "sh.dat");

    int status = 1;
    {
        if (!XvfbDisplay::Ensure()) {
            std::fprintf(stderr, "no X display\n");
            return 1;
        }
        // Everything of the server and its clients (the game too) stays in the scratch folder.
        SoundServer server(root.string(), given);
        if (!server.Start()) {
            std::fprintf(stderr, "%s (see %s)\n", server.Error().c_str(), server.Log().c_str());
            return 1;
        }
        // Read as it comes, for the time each piece arrives. Only parec gets the writing end.
        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0) {
            return 1;
        }
        Recorder recording(pipeFds[0]);
        bool recorded = server.StartRecording(pipeFds[1]);
        close(pipeFds[1]);
        if (!recorded) {
            std::fprintf(stderr, "%s (see %s)\n", server.Error().c_str(), server.Log().c_str());
            server.StopRecording();  // so that the reader meets the pipe's end
            return 1;
        }

        // The music alone, to tell its own rests from drop-outs.
        int ownGaps = MusicOwnGaps(program, seconds + 4);

        BusyCores load(busy);
        ChildProcess game;
        game.Start({(program / "brackle").string()},
                   ChildProcess::Environment({{"SDL_AUDIODRIVER", "pulseaudio"}}, {"SDL_VIDEODRIVER"}), server.Log(),
                   ChildProcess::Output{}, "/");

        Keyboard keys;
        std::vector<double> presses;
        double musicFrame = 0;
        double stageChosen = 0;
        bool played = false;
        if (!keys.Ok() || !keys.FindGame(30)) {
            std::fprintf(stderr, "the game's window did not appear\n");
        } else if (!WaitFor(
                       [&] {
                           // The title music: loading is over.
                           auto s = recording.Samples();
                           auto loud = std::find_if(s.begin(), s.end(), [](std::int16_t v) { return std::abs(v) > 64; });
                           musicFrame = static_cast<double>((loud - s.begin()) / 2);
                           return loud != s.end();
                       },
                       40)) {
            std::fprintf(stderr, "no title music\n");
        } else {
            SleepFor(2.0);
            keys.Tap(XK_z);  // title menu: start
            SleepFor(2.0);
            stageChosen = keys.Key(XK_z, true);  // difficulty menu: the first level
            SleepFor(0.1);
            keys.Key(XK_z, false);
            SleepFor(2.5);
            // A press a second, held shorter than the ship's reload so that each fires once; the
            // pause varies so that keys fall on every point of the frame and the sound block.
            std::mt19937 random(26);
            std::uniform_real_distribution<double> jitter(0.0, 0.05);
            for (double end = Now() + seconds; Now() < end;) {
                presses.push_back(keys.Key(XK_z, true));
                SleepFor(0.3);
                keys.Key(XK_z, false);
                SleepFor(0.65 + jitter(random));
            }
            SleepFor(0.5);
            played = true;
        }
        std::string latency;
        {
            // The server's view of the game's stream while it still plays.
            std::istringstream in(server.Query({"list", "sink-inputs"}));
            for (std::string line; std::getline(in, line);) {
                if (line.find("Latency") != std::string::npos) {
                    latency += " " + line.substr(line.find_first_not_of(" \t"));
                }
            }
        }
        for (int i = 0; i < 50 && game.Running(); ++i) {
            keys.Tap(XK_Escape);
            SleepFor(0.2);
        }
        game.Stop();
        server.StopRecording();
        // The recorder thread ends with parec's output.
        std::vector<std::int16_t> samples = recording.Samples();
        // Plain variables: the lambdas below use them (clang refuses structured bindings there).
        std::pair<double, double> timeline = recording.Timeline(musicFrame + 3.0 * kRate);
        double zero = timeline.first;
        double sinkRate = timeline.second;
        {
            std::ofstream raw(root / "recording.raw", std::ios::binary);
            raw.write(reinterpret_cast<const char*>(samples.data()),
                      static_cast<std::streamsize>(samples.size() * sizeof(std::int16_t)));
        }
        // A server that was given is rid of the sink here.
        server.Stop();
        if (played && !presses.empty()) {
            auto frameAt = [&](double t) {
                return static_cast<std::size_t>(std::max(0.0, (t - zero) * sinkRate));
            };
            // The stage music begins after the longest silence that follows the choice of level:
            // the title track cut off and the stage's loaded.
            Gap change = LongestSilence(samples, frameAt(stageChosen), frameAt(stageChosen + 2.5));
            std::size_t from = change.start + change.frames;
            std::size_t to = frameAt(presses.back() + 1.0);
            std::vector<Gap> gaps = SilentGaps(samples, from, to);
            double total = 0, longest = 0;
            for (const Gap& g : gaps) {
                total += g.frames * 1000.0 / kRate;
                longest = std::max(longest, g.frames * 1000.0 / kRate);
            }

            std::vector<float> shot = ReadMonoWav(program / "wav" / "swing32.wav");
            std::vector<double> delays;
            std::vector<double> scores;
            std::ofstream keyLog(root / "keys.txt");
            for (double press : presses) {
                auto [at, score] = BestMatch(samples, shot, frameAt(press), frameAt(press + 0.25));
                double delay = (zero + static_cast<double>(at) / sinkRate - press) * 1000.0;
                if (score >= 0.3) {
                    delays.push_back(delay);
                }
                scores.push_back(score);
                // For a look at the recording (--keep): the frame each key maps to, and the match.
                keyLog << frameAt(press) << " " << at << " " << score << " " << delay << "\n";
            }

            std::printf("sound server: %s, null sink recorded with parec; %d other cores busy\n",
                        given.empty() ? "PulseAudio started here" : given.c_str(), load.Count());
            std::printf("game stream:%s\n", latency.empty() ? " (not listed)" : latency.c_str());
            std::printf("sink clock: %.1f frames per steady second (%+.0f ppm)\n", sinkRate,
                        (sinkRate / kRate - 1) * 1e6);
            std::printf("stage music alone: %d silences of 5 ms or more in its first %.0f s\n", ownGaps, seconds + 4);
            std::printf("stage music from %.2f s after the level was chosen; %.1f s of stage play measured, "
                        "%zu fire keys\n",
                        (zero + static_cast<double>(from) / sinkRate) - stageChosen,
                        static_cast<double>(to - from) / kRate, presses.size());
            std::printf("silent gaps of 5 ms or more while the music plays: %zu (%.1f ms in all, longest %.1f ms)\n",
                        gaps.size(), total, longest);
            for (std::size_t i = 0; i < gaps.size() && i < 12; ++i) {
                std::printf("  at %.2f s into the stage: %.1f ms\n", double(gaps[i].start - from) / kRate,
                            gaps[i].frames * 1000.0 / kRate);
            }
            if (given.empty()) {
                std::printf("server log: %d \"Implicit underrun\" lines\n",
                            server.LogLines("Implicit underrun"));
            }
            if (!delays.empty()) {
                std::printf("key to shot sound over %zu of %zu keys: median %.1f ms, min %.1f, p10 %.1f, p90 %.1f, "
                            "max %.1f ms (match %.2f median)\n",
                            delays.size(), presses.size(), Percentile(delays, 0.5), Percentile(delays, 0.0),
                            Percentile(delays, 0.1), Percentile(delays, 0.9), Percentile(delays, 1.0),
                            Percentile(scores, 0.5));
            } else {
                std::printf("no shot sound was found after the keys\n");
            }
            status = 0;
        }
    }
    if (keep) {
        std::printf("kept %s\n", root.c_str());
    } else {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    return status;
}
