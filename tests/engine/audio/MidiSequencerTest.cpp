#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/dmusic/MidiFile.h"
#include "platform/dmusic/MidiSequencer.h"
#include "platform/dmusic/MusicSegment.h"
#include "tests/engine/audio/MidiFixture.h"

namespace {

constexpr int kRate = 44100;

// Records each message with the frame at which it took effect.
class RecordingSink : public MidiSink {
public:
    struct Message {
        long frame;
        std::uint8_t status, data1, data2;
    };
    std::vector<Message> messages;
    long frames = 0;

    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override
    {
        messages.push_back({frames, status, data1, data2});
    }
    void Synthesize(float* out, int n) override
    {
        std::fill(out, out + 2 * n, 0.0f);
        frames += n;
    }
    std::vector<int> NoteOns() const
    {
        std::vector<int> keys;
        for (const Message& m : messages) {
            if ((m.status & 0xF0) == 0x90 && m.data2 > 0) {
                keys.push_back(m.data1);
            }
        }
        return keys;
    }
};

// The stage-clear track's shape: an opening, a section from music time 11100 to 17000 that
// loops, a note that hangs over the loop end, and a coda after it.
std::shared_ptr<MidiFile> LoopingFile()
{
    MidiFixture m(480);  // 11100 and 17000 music time are file ticks 6937.5 and 10625
    m.Program(0, 0, 40);
    m.Note(0, 480, 0, 60);
    m.Note(7200, 2400, 0, 64);
    m.Program(8000, 0, 41);
    m.Note(10000, 2000, 0, 62);  // still sounding at the loop end
    m.Note(11000, 480, 0, 67);
    m.End(12000);
    auto file = std::make_shared<MidiFile>();
    EXPECT_TRUE(file->Parse(m.Bytes()));
    return file;
}

void Play(MidiSequencer& seq, RecordingSink& sink, long frames)
{
    std::vector<float> out(1024);
    for (long done = 0; done < frames && !seq.Finished(); done += 512) {
        seq.Render(sink, out.data(), 512);
    }
}

MidiSequencer::Settings SettingsFor(const std::shared_ptr<MidiFile>& file, MUSIC_TIME start, MUSIC_TIME loopStart,
                                    MUSIC_TIME loopEnd, DWORD repeats)
{
    auto* segment = new MusicSegment(file);
    EXPECT_EQ(segment->SetStartPoint(start), S_OK);
    EXPECT_EQ(segment->SetLoopPoints(loopStart, loopEnd), S_OK);
    segment->SetRepeats(repeats);
    auto settings = segment->PlaySettings();
    segment->Release();
    return settings;
}

TEST(MidiSequencerTest, SectionRepeatsItsCountThenPlaysOnWithoutGapOrHangingNote)
{
    auto file = LoopingFile();
    MidiSequencer seq(file, SettingsFor(file, 0, 11100, 17000, 2), kRate);
    RecordingSink sink;
    Play(seq, sink, 60L * kRate);
    ASSERT_TRUE(seq.Finished());
    EXPECT_EQ(sink.NoteOns(), (std::vector<int>{60, 64, 62, 64, 62, 64, 62, 67}));

    // The section's notes recur exactly one section length apart (3687.5 ticks at 120 bpm).
    const double sectionFrames = 3687.5 / (480.0 * 2) * kRate;
    std::vector<long> starts;
    for (const auto& m : sink.messages) {
        if ((m.status & 0xF0) == 0x90 && m.data1 == 64 && m.data2 > 0) {
            starts.push_back(m.frame);
        }
    }
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_NEAR(starts[1] - starts[0], sectionFrames, 1.0);
    EXPECT_NEAR(starts[2] - starts[1], sectionFrames, 1.0);

    // Before each repeat of the section: the hanging note is released, and the program that
    // held at the loop start (40, not the 41 set inside the section) is restored.
    int sounding62 = 0;
    int program = -1;
    int jumps = 0;
    for (const auto& m : sink.messages) {
        int kind = m.status & 0xF0;
        if (kind == 0xC0) {
            program = m.data1;
        } else if ((kind == 0x90 || kind == 0x80) && m.data1 == 62) {
            sounding62 += (kind == 0x90 && m.data2 > 0) ? 1 : -1;
            sounding62 = std::max(sounding62, 0);
        } else if (kind == 0x90 && m.data1 == 64 && m.data2 > 0 && m.frame > 0) {
            EXPECT_EQ(sounding62, 0) << "note 62 still on when the section starts again";
            EXPECT_EQ(program, 40);
            ++jumps;
        }
    }
    EXPECT_EQ(jumps, 3);
}

TEST(MidiSequencerTest, ForeverNeverReachesTheCoda)
{
    auto file = LoopingFile();
    MidiSequencer seq(file, SettingsFor(file, 0, 11100, 17000, DMUS_SEG_REPEAT_INFINITE), kRate);
    RecordingSink sink;
    Play(seq, sink, 40L * kRate);
    EXPECT_FALSE(seq.Finished());
    auto ons = sink.NoteOns();
    EXPECT_GE(ons.size(), 15u);
    EXPECT_EQ(std::count(ons.begin(), ons.end(), 67), 0);
    EXPECT_EQ(std::count(ons.begin(), ons.end(), 60), 1);
}

TEST(MidiSequencerTest, WholeSegmentLoopsAndStartPointSkipsAhead)
{
    auto file = LoopingFile();
    {
        // Loop points 0 and 0: the whole file repeats.
        MidiSequencer seq(file, SettingsFor(file, 0, 0, 0, 1), kRate);
        RecordingSink sink;
        Play(seq, sink, 60L * kRate);
        EXPECT_TRUE(seq.Finished());
        EXPECT_EQ(sink.NoteOns(), (std::vector<int>{60, 64, 62, 67, 60, 64, 62, 67}));
    }
    {
        // No repeats: once through.
        MidiSequencer seq(file, SettingsFor(file, 0, 0, 0, 0), kRate);
        RecordingSink sink;
        Play(seq, sink, 60L * kRate);
        EXPECT_EQ(sink.NoteOns(), (std::vector<int>{60, 64, 62, 67}));
    }
    {
        // Starting inside the file: earlier notes are skipped, the program in force is sent.
        MidiSequencer seq(file, SettingsFor(file, 11100, 0, 0, 0), kRate);
        RecordingSink sink;
        Play(seq, sink, 60L * kRate);
        EXPECT_EQ(sink.NoteOns(), (std::vector<int>{64, 62, 67}));
        ASSERT_FALSE(sink.messages.empty());
        EXPECT_EQ(sink.messages.front().status, 0xC0);
        EXPECT_EQ(sink.messages.front().data1, 40);
    }
}

TEST(MidiSequencerTest, SegmentRefusesPointsOutsideIt)
{
    auto file = LoopingFile();
    auto* segment = new MusicSegment(file);
    MUSIC_TIME length = 0;
    ASSERT_EQ(segment->GetLength(&length), S_OK);
    EXPECT_EQ(length, 12000 * 768 / 480);
    EXPECT_EQ(segment->SetLoopPoints(17000, 11100), DMUS_E_OUT_OF_RANGE);
    EXPECT_EQ(segment->SetLoopPoints(0, length + 1), DMUS_E_OUT_OF_RANGE);
    EXPECT_EQ(segment->SetStartPoint(length), DMUS_E_OUT_OF_RANGE);
    EXPECT_EQ(segment->SetLoopPoints(0, 0), S_OK);
    DWORD repeats = 7;
    segment->GetRepeats(&repeats);
    EXPECT_EQ(repeats, 0u);  // a loaded file plays once unless told otherwise
    segment->Release();
}

TEST(MidiFileTest, RejectsMalformedFiles)
{
    MidiFixture m(480);
    m.Note(0, 480, 0, 60);
    const std::vector<std::uint8_t> good = m.Bytes();
    auto with = [&](std::size_t at, std::uint8_t value) {
        auto b = good;
        b[at] = value;
        return b;
    };
    auto cut = [&](std::size_t n) { return std::vector<std::uint8_t>(good.begin(), good.end() - n); };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool parses;
    };
    const Case cases[] = {
        {"well formed", good, true},
        {"not a MIDI header", with(0, 'X'), false},
        {"time-code division", with(12, 0xE7), false},
        {"format 2", with(9, 2), false},
        {"track length past the file", with(18, 0x7F), false},
        {"track cut short", cut(5), false},
        {"data byte with no status before it", with(23, 0x3C), false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        MidiFile f;
        EXPECT_EQ(f.Parse(c.bytes), c.parses) << c.what;
    }
}

}  // namespace
