// The seven music tracks: Standard MIDI Files that parse, of fitting length, with the
// stage-clear loop section (music time 11100..17000 at 768 per quarter) on note boundaries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "AssetReaders.h"
#include "MidiReader.h"

using namespace assets_test;

namespace {

struct Track {
  const char* file;
  double minSeconds, maxSeconds;
  bool loopsWhole;
};

const Track kTracks[7] = {
    {"Music/no.32.mid", 60, 240, true},    // title, loops whole
    {"Music/no.29.mid", 150, 220, false},  // stage, levels 0-2
    {"Music/no.34.mid", 150, 220, false},  // stage, level 3
    {"Music/no.39.mid", 120, 300, false},  // boss
    {"Music/no.58.mid", 60, 300, false},   // second map track
    {"Music/no.60.mid", 8, 60, false},     // stage clear (its loop section is checked below)
    {"Music/no.44.mid", 10, 20, false},    // game over
};

void PrintTo(const Track& t, std::ostream* os) { *os << t.file; }

class MusicTracks : public ::testing::TestWithParam<Track> {};

TEST_P(MusicTracks, ParseWithGeneralMidiProgramsAndFittingLength) {
  const Track& t = GetParam();
  const Song song = ReadSong(ProgramPath(t.file));
  ASSERT_EQ(song.error, "");
  EXPECT_TRUE(song.format == 0 || song.format == 1);
  EXPECT_FALSE(song.notes.empty());
  for (const NoteSpan& n : song.notes) {
    if (n.channel != 9) {
      EXPECT_TRUE(song.programs.count(n.channel)) << "channel " << n.channel << " plays without a program";
    }
  }
  EXPECT_GE(song.Seconds(), t.minSeconds);
  EXPECT_LE(song.Seconds(), t.maxSeconds);
}

TEST_P(MusicTracks, NotesEndWithinThePieceAndLoopingPiecesEndOnABar) {
  const Track& t = GetParam();
  const Song song = ReadSong(ProgramPath(t.file));
  ASSERT_EQ(song.error, "");
  for (const NoteSpan& n : song.notes) ASSERT_LE(n.off, song.endTick);
  if (t.loopsWhole) {
    EXPECT_EQ(song.endTick % uint64_t(song.division * song.barNumerator), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, MusicTracks, ::testing::ValuesIn(kTracks), [](const auto& info) {
  std::string name = info.param.file + 6;
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
});

TEST(StageClearLoop, SectionFrom11100To17000IsAWholePhrase) {
  const Song song = ReadSong(ProgramPath("Music/no.60.mid"));
  ASSERT_EQ(song.error, "");
  // Music time is 768 per quarter note whatever the file's division; compare exactly.
  auto mt768 = [](uint64_t tick) { return tick * 768; };
  const uint64_t d = uint64_t(song.division);
  EXPECT_GE(mt768(song.endTick), 17000 * d) << "shorter than the loop end";
  for (uint64_t boundary : {11100ull, 17000ull}) {
    for (const NoteSpan& n : song.notes) {
      EXPECT_FALSE(mt768(n.on) < boundary * d && mt768(n.off) > boundary * d)
          << "a note sounds across music time " << boundary << " (key " << n.key << ")";
    }
  }
  const auto startsAtLoop = std::count_if(song.notes.begin(), song.notes.end(),
                                          [&](const NoteSpan& n) { return mt768(n.on) == 11100 * d; });
  EXPECT_GE(startsAtLoop, 2) << "the phrase should begin right on the loop start";
  const auto inLoop = std::count_if(song.notes.begin(), song.notes.end(), [&](const NoteSpan& n) {
    return mt768(n.on) >= 11100 * d && mt768(n.on) < 17000 * d;
  });
  EXPECT_GT(inLoop, 20);
}

}  // namespace
