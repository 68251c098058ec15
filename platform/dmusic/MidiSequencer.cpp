#include "platform/dmusic/MidiSequencer.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr std::uint32_t kForever = 0xFFFFFFFFu;
constexpr std::uint8_t kTempo = 0xFF;
}  // namespace

MidiSequencer::MidiSequencer(std::shared_ptr<const MidiFile> file, const Settings& settings, int rate)
    : file_(std::move(file)), settings_(settings), rate_(rate), repeatsLeft_(settings.repeats)
{
    end_ = file_->LengthTicks();
    bool whole = settings.loopStartTick == 0 && settings.loopEndTick == 0;
    loopStart_ = whole ? 0 : settings.loopStartTick;
    loopEnd_ = whole ? end_ : std::min(settings.loopEndTick, end_);
    if (end_ <= 0) {
        finished_ = true;
    }
}

double MidiSequencer::TicksPerFrame() const
{
    return file_->Division() * 1e6 / (static_cast<double>(tempo_) * rate_);
}

void MidiSequencer::Dispatch(MidiSink& sink, const MidiEvent& e)
{
    if (e.status == kTempo) {
        tempo_ = e.tempo;
        return;
    }
    std::uint8_t kind = e.status & 0xF0;
    std::size_t note = std::size_t(e.status & 0x0F) * 128 + e.data1;
    if (kind == 0x90 && e.data2 > 0) {
        sounding_.set(note);
    } else if (kind == 0x80 || kind == 0x90) {
        sounding_.reset(note);
    }
    sink.Send(e.status, e.data1, e.data2);
}

void MidiSequencer::ReleaseNotes(MidiSink& sink)
{
    for (std::size_t i = 0; i < sounding_.size(); ++i) {
        if (sounding_.test(i)) {
            sink.Send(static_cast<std::uint8_t>(0x80 | (i / 128)), static_cast<std::uint8_t>(i % 128), 0);
        }
    }
    sounding_.reset();
    // A held pedal would keep released notes ringing across the jump.
    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        sink.Send(static_cast<std::uint8_t>(0xB0 | ch), 64, 0);
    }
}

void MidiSequencer::SeekTo(MidiSink& sink, double tick)
{
    // Restores what the channels and the tempo were at the target by replaying every earlier
    // message except the notes, in order.
    const auto& events = file_->Events();
    tempo_ = 500000;
    std::size_t i = 0;
    for (; i < events.size() && events[i].tick < tick; ++i) {
        const MidiEvent& e = events[i];
        std::uint8_t kind = e.status & 0xF0;
        if (e.status == kTempo || (kind != 0x80 && kind != 0x90 && kind != 0xA0)) {
            Dispatch(sink, e);
        }
    }
    next_ = i;
    tick_ = tick;
}

void MidiSequencer::Render(MidiSink& sink, float* out, int frames)
{
    if (!started_) {
        started_ = true;
        if (!finished_) {
            SeekTo(sink, settings_.startTick);
        }
    }
    const auto& events = file_->Events();
    int done = 0;
    while (done < frames) {
        if (finished_) {
            sink.Synthesize(out + done * 2, frames - done);
            return;
        }
        bool looping = repeatsLeft_ > 0 && loopEnd_ > loopStart_ && tick_ < loopEnd_;
        double boundary = looping ? loopEnd_ : end_;
        // Everything due is sent before the frame that plays it; the loop end is exclusive.
        while (next_ < events.size() && events[next_].tick <= tick_ && events[next_].tick < boundary) {
            Dispatch(sink, events[next_++]);
        }
        double target = boundary;
        if (next_ < events.size()) {
            target = std::min<double>(target, events[next_].tick);
        }
        double perFrame = TicksPerFrame();
        double need = std::ceil((target - tick_) / perFrame - 1e-9);
        int n = static_cast<int>(std::clamp<double>(need, 1.0, frames - done));
        sink.Synthesize(out + done * 2, n);
        tick_ += n * perFrame;
        done += n;
        if (tick_ + 1e-9 < boundary) {
            continue;
        }
        if (looping) {
            // The part of a frame that ran past the end carries over, so the section repeats
            // without a gap.
            double over = std::max(0.0, tick_ - loopEnd_);
            ReleaseNotes(sink);
            SeekTo(sink, loopStart_);
            tick_ = loopStart_ + over;
            if (repeatsLeft_ != kForever) {
                --repeatsLeft_;
            }
        } else {
            while (next_ < events.size()) {
                Dispatch(sink, events[next_++]);
            }
            ReleaseNotes(sink);
            finished_ = true;
        }
    }
}
