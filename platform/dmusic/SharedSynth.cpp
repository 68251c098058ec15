#include "platform/dmusic/SharedSynth.h"

#include <vector>
#include <algorithm>
#include <mutex>

namespace {

void Delete(SharedSynth::Lease& lease)
{
    if (lease.synth) {
        delete_fluid_synth(lease.synth);
    }
    if (lease.settings) {
        delete_fluid_settings(lease.settings);
    }
    lease = {};
}

// The synthesiser no performance holds, freed when the process ends.
struct Kept {
    std::mutex mutex;
    SharedSynth::Lease idle;
    int creations = 0;
    ~Kept() { Delete(idle); }
};

Kept& TheKept()
{
    static Kept kept;
    return kept;
}

}  // namespace

SharedSynth::Lease SharedSynth::Take(const Config& config, const char* soundFont)
{
    Kept& kept = TheKept();
    std::lock_guard lock(kept.mutex);
    if (kept.idle.synth && kept.idle.config == config) {
        Lease lease = kept.idle;
        kept.idle = {};
        return lease;
    }
    Delete(kept.idle);
    Lease lease;
    lease.config = config;
    lease.settings = new_fluid_settings();
    fluid_settings_setnum(lease.settings, "synth.sample-rate", config.rate);
    fluid_settings_setint(lease.settings, "synth.midi-channels", config.channels);
    fluid_settings_setint(lease.settings, "synth.reverb.active", config.reverb ? 1 : 0);
    fluid_settings_setint(lease.settings, "synth.chorus.active", 0);
    fluid_settings_setnum(lease.settings, "synth.gain", 0.5);
    lease.synth = new_fluid_synth(lease.settings);
    ++kept.creations;
    if (!lease.synth || fluid_synth_sfload(lease.synth, soundFont, 1) == FLUID_FAILED) {
        Delete(lease);
    }
    return lease;
}

void SharedSynth::Give(Lease lease)
{
    if (!lease.synth) {
        Delete(lease);
        return;
    }
    // Controllers and programs as a new synthesiser has them, every voice cut at once, and a
    // little silence rendered so that the cut voices are gone before the next track starts.
    // What remains is the reverb's tail, far below hearing. The rendering also finishes the
    // block under way: events start on block edges, and the next track's fall where a new
    // synthesiser would put them.
    fluid_synth_system_reset(lease.synth);
    fluid_synth_all_sounds_off(lease.synth, -1);
    int block = std::max(fluid_synth_get_internal_bufsize(lease.synth), 1);
    int rest = 2 * block + (block - static_cast<int>(lease.rendered % block)) % block;
    std::vector<float> sink(static_cast<std::size_t>(rest) * 2);
    fluid_synth_write_float(lease.synth, rest, sink.data(), 0, 2, sink.data(), 1, 2);
    lease.rendered = 0;
    Kept& kept = TheKept();
    std::lock_guard lock(kept.mutex);
    Delete(kept.idle);  // two performances at once: keep the last one back
    kept.idle = lease;
}

int SharedSynth::Creations()
{
    Kept& kept = TheKept();
    std::lock_guard lock(kept.mutex);
    return kept.creations;
}
