#pragma once
// The mixer's output through a PulseAudio server (or a server that speaks its protocol): one
// playback stream that keeps a deep queue in the server, so that neither the game nor the server
// has to be scheduled on time for every block, and a play change written into that queue close
// to what is being heard.
#include <pulse/pulseaudio.h>

#include <atomic>
#include <vector>

class AudioMixer;

class PulseOutput {
public:
    // Sound queued ahead of the speaker, at most: the server asks for it in pieces of half of
    // it, so a stall of the process or the server of less than half is not heard.
    static constexpr int kQueueMs = 300;
    // How far beyond the frame being heard a new sound is written: what it takes the server to
    // take the write in and turn back what it had already rendered.
    static constexpr int kLeadMs = 10;

    explicit PulseOutput(AudioMixer& mixer);
    ~PulseOutput();
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Connects to the server and starts the stream at the rate; false when there is none.
    bool Open(int rate);
    // A sound started or stopped: place it into the queue at once (any thread; takes no lock).
    void Wake();
    // The connection or the stream broke.
    bool Failed() const { return failed_.load(); }
    int LeadFrames() const { return LeadFramesAt(rate_); }
    static int LeadFramesAt(int rate) { return rate * kLeadMs / 1000; }

private:
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWrite(pa_stream* stream, size_t bytes, void* self);
    static void OnWake(pa_mainloop_api* api, pa_io_event* event, int fd, pa_io_event_flags_t flags, void* self);
    void Close();
    void PlaceChanges();
    void Fill(pa_stream* stream, size_t bytes);

    AudioMixer& mixer_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    // Set while the mainloop runs, read by its callbacks.
    std::atomic<pa_stream*> stream_{nullptr};
    pa_io_event* wakeEvent_ = nullptr;
    int wakeFd_ = -1;
    int rate_ = 44100;
    std::atomic<bool> failed_{false};
    std::vector<float> buffer_;  // the mainloop thread's
};
