// The music reader (standard MIDI files) and a segment's loop points: the last eight bytes also
// serve as a loop start and end, and a few seconds are rendered from the segment.
#include <cstring>
#include <memory>
#include <vector>

#include "platform/dmusic/MidiFile.h"
#include "platform/dmusic/MidiSequencer.h"
#include "platform/dmusic/MidiSink.h"
#include "platform/dmusic/MusicSegment.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct NullSink : MidiSink {
    void Send(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void Synthesize(float* out, int frames) override { std::memset(out, 0, sizeof(float) * 2 * frames); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto file = std::make_shared<MidiFile>();
    if (!file->Parse(std::vector<std::uint8_t>(data, data + size))) {
        return 0;
    }
    auto* segment = new MusicSegment(file);
    MUSIC_TIME loop[2] = {0, 0};
    if (size >= 8) {
        std::memcpy(loop, data + size - 8, 8);
    }
    segment->SetLoopPoints(loop[0], loop[1]);
    segment->SetRepeats(3);
    MidiSequencer sequencer(file, segment->PlaySettings(), 8000);
    NullSink sink;
    std::vector<float> out(2 * 800);
    for (int block = 0; block < 40 && !sequencer.Finished(); ++block) {
        sequencer.Render(sink, out.data(), 800);
    }
    segment->Release();
    return 0;
}
