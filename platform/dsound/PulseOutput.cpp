#include "platform/dsound/PulseOutput.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "platform/dsound/AudioMixer.h"

namespace {

constexpr int kFrameBytes = 2 * sizeof(float);
constexpr std::size_t kPieceFrames = 1024;

pa_usec_t Ms(int ms)
{
    return static_cast<pa_usec_t>(ms) * PA_USEC_PER_MSEC;
}

}  // namespace

PulseOutput::PulseOutput(AudioMixer& mixer) : mixer_(mixer) {}

PulseOutput::~PulseOutput()
{
    Close();
}

bool PulseOutput::Open(int rate)
{
    rate_ = rate;
    buffer_.resize(static_cast<std::size_t>(AudioMixer::kKeptFrames) * 2);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    loop_ = pa_threaded_mainloop_new();
    if (wakeFd_ < 0 || !loop_) {
        Close();
        return false;
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "game");
    context_ = pa_context_new_with_proplist(api, "Pellmoor", props);
    pa_proplist_free(props);
    if (!context_) {
        Close();
        return false;
    }
    pa_context_set_state_callback(context_, &PulseOutput::OnContextState, this);
    // No server of our own is started: without one running, the SDL device is used instead.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(loop_) < 0) {
        Close();
        return false;
    }
    pa_threaded_mainloop_lock(loop_);
    pa_context_state_t state;
    while ((state = pa_context_get_state(context_)) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(state)) {
        pa_threaded_mainloop_wait(loop_);
    }
    bool ok = state == PA_CONTEXT_READY;
    pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(rate), 2};
    if (ok) {
        pa_channel_map map;
        pa_channel_map_init_stereo(&map);
        stream_ = pa_stream_new(context_, "Pellmoor", &spec, &map);
        ok = stream_ != nullptr;
    }
    pa_stream* stream = stream_;
    if (ok) {
        pa_stream_set_state_callback(stream, &PulseOutput::OnStreamState, this);
        pa_stream_set_write_callback(stream, &PulseOutput::OnWrite, this);
        // The whole latency is asked for; the server keeps a little of it in the sink and the
        // rest in this stream's queue, which it asks to have topped up in large pieces, so the
        // queue never falls far below a full one.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(Ms(kQueueMs), &spec));
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(pa_usec_to_bytes(Ms(kQueueMs / 2 - 5), &spec));
        attr.fragsize = static_cast<std::uint32_t>(-1);
        auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                    PA_STREAM_AUTO_TIMING_UPDATE);
        ok = pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) == 0;
    }
    if (ok) {
        pa_stream_state_t s;
        while ((s = pa_stream_get_state(stream)) != PA_STREAM_READY && PA_STREAM_IS_GOOD(s)) {
            pa_threaded_mainloop_wait(loop_);
        }
        ok = s == PA_STREAM_READY;
    }
    if (ok) {
        wakeEvent_ = api->io_new(api, wakeFd_, PA_IO_EVENT_INPUT, &PulseOutput::OnWake, this);
        ok = wakeEvent_ != nullptr;
    }
    pa_threaded_mainloop_unlock(loop_);
    if (!ok) {
        Close();
    }
    return ok;
}

void PulseOutput::Close()
{
    if (loop_) {
        pa_threaded_mainloop_stop(loop_);
    }
    if (wakeEvent_) {
        pa_threaded_mainloop_get_api(loop_)->io_free(wakeEvent_);
        wakeEvent_ = nullptr;
    }
    if (pa_stream* stream = stream_.exchange(nullptr)) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    if (loop_) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
        wakeFd_ = -1;
    }
}

void PulseOutput::Wake()
{
    if (wakeFd_ >= 0) {
        std::uint64_t one = 1;
        // Non-blocking: a counter already raised wakes the loop all the same.
        [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof(one));
    }
}

void PulseOutput::OnContextState(pa_context* context, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) {
        out->failed_ = true;
    }
    pa_threaded_mainloop_signal(out->loop_, 0);
}

void PulseOutput::OnStreamState(pa_stream* stream, void* self)
{
    auto* out = static_cast<PulseOutput*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
        out->failed_ = true;
    }
    pa_threaded_mainloop_signal(out->loop_, 0);
}

void PulseOutput::OnWake(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self)
{
    std::uint64_t count;
    [[maybe_unused]] ssize_t n = read(fd, &count, sizeof(count));
    auto* out = static_cast<PulseOutput*>(self);
    std::lock_guard lock(out->mixer_.Mutex());
    out->PlaceChanges();
}

void PulseOutput::OnWrite(pa_stream* stream, size_t bytes, void* self)
{
    static_cast<PulseOutput*>(self)->Fill(stream, bytes);
}

// With the mixer lock held, on the mainloop thread.
void PulseOutput::PlaceChanges()
{
    pa_stream* stream = stream_;
    if (!mixer_.ChangesAsked() || !stream) {
        return;
    }
    // What is queued in the stream is ours to replace; what the sink holds already is not.
    pa_usec_t latency = 0;
    int negative = 0;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream);
    if (!timing || pa_stream_get_latency(stream, &latency, &negative) < 0) {
        return;  // no timing yet: the change waits for the end of the queue
    }
    pa_usec_t sink = timing->sink_usec;
    long long queued = negative || latency <= sink
                           ? 0
                           : static_cast<long long>(static_cast<double>(latency - sink) * rate_ / PA_USEC_PER_SEC);
    long long end = mixer_.RenderedFrames();
    long long from = end - queued + LeadFrames();
    if (from >= end) {
        return;
    }
    int frames = mixer_.Rerender(buffer_.data(), from);
    if (frames > 0) {
        std::int64_t back = -static_cast<std::int64_t>(frames) * kFrameBytes;
        pa_stream_write(stream, buffer_.data(), static_cast<size_t>(frames) * kFrameBytes, nullptr, back,
                        PA_SEEK_RELATIVE);
    }
}

void PulseOutput::Fill(pa_stream* stream, size_t bytes)
{
    // In pieces, each under the mixer lock of its own, so that a play request of the game waits
    // for one piece at most.
    std::size_t frames = bytes / kFrameBytes;
    while (frames > 0) {
        int n = static_cast<int>(std::min<std::size_t>(frames, kPieceFrames));
        {
            std::lock_guard lock(mixer_.Mutex());
            // A change asked for just now goes near the speaker, not behind the queue about to
            // grow.
            PlaceChanges();
            mixer_.Render(buffer_.data(), n);
        }
        if (pa_stream_write(stream, buffer_.data(), static_cast<size_t>(n) * kFrameBytes, nullptr, 0,
                            PA_SEEK_RELATIVE) < 0) {
            failed_ = true;
            return;
        }
        frames -= static_cast<std::size_t>(n);
    }
}
