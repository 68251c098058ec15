#pragma once
// The process's FluidSynth synthesiser with the soundfont loaded. The first performance that
// starts its audio makes it; a performance that closes down hands it back reset, and the next
// one takes it again, so changing the track costs neither a new synthesiser nor a soundfont load.
#include <fluidsynth.h>

class SharedSynth {
public:
    // What a performance asks of its synthesiser.
    struct Config {
        double rate;
        int channels;
        bool reverb;
        bool operator==(const Config&) const = default;
    };
    struct Lease {
        fluid_settings_t* settings = nullptr;
        fluid_synth_t* synth = nullptr;  // null: none could be made
        Config config{};
        unsigned long long rendered = 0;  // frames the holder has rendered
    };

    // The kept synthesiser when it was made with the same config, otherwise a new one.
    static Lease Take(const Config& config, const char* soundFont);
    // Every voice silenced and every channel reset; kept for the next Take.
    static void Give(Lease lease);
    // Synthesisers made since the process started (tests).
    static int Creations();
};
