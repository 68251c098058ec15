// The seven music tracks: Standard MIDI Files that parse, of fitting length, with the
// stage-clear loop section (music time 11100..17000 at 768 per quarter) on note boundaries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "AssetReaders.h"

using namespace assets_test;

namespace {

struct NoteSpan {
  uint64_t on, off;
  int channel, key;
};

struct Song {
  std::string error;
  int format = -1, division = 0;
  size_t tracks = 0;
  uint64_t endTick = 0;
  std::map<uint64_t, uint32_t> tempo;  // tick -> microseconds per quarter
  std::vector<NoteSpan> notes;
  std::map<int, int> programs;         // channel -> program
  int barNumerator = 4;
  double Seconds() const {
    double s = 0, us = 500000;
    uint64_t at = 0;
    for (const auto& [tick, value] : tempo) {
      if (tick >= endTick) break;
      s += double(tick - at) * us / division / 1e6;
      at = tick;
      us = value;
    }
    return s + double(endTick - at) * us / division / 1e6;
  }
};

Song ReadSong(const std::string& path) {
  Song song;
  const std::vector<uint8_t> b = ReadAll(path);
  auto fail = [&song](const std::string& why) {
    song.error = why;
    return song;
  };
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || Be32(b, 4) != 6) return fail("no MThd header");
  song.format = b[8] << 8 | b[9];
  const size_t declared = size_t(b[10] << 8 | b[11]);
  song.division = b[12] << 8 | b[13];
  if (song.division <= 0 || song.division >= 0x8000) return fail("division is not ticks per quarter");
  size_t at = 14;
  while (at + 8 <= b.size()) {
    if (std::string(b.begin() + long(at), b.begin() + long(at) + 4) != "MTrk") return fail("chunk is not MTrk");
    const size_t end = at + 8 + Be32(b, at + 4);
    if (end > b.size()) return fail("track runs past the file");
    size_t p = at + 8;
    uint64_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    std::map<std::pair<int, int>, std::vector<uint64_t>> open;
    auto varlen = [&]() {
      uint32_t v = 0;
      for (int i = 0; i < 4 && p < end; ++i) {
        const uint8_t c = b[p++];
        v = v << 7 | (c & 0x7F);
        if (!(c & 0x80)) return v;
      }
      throw std::runtime_error("bad variable-length number");
    };
    try {
      while (p < end && !ended) {
        tick += varlen();
        if (b[p] & 0x80) status = b[p++];
        if (status == 0xFF) {
          const uint8_t type = b[p++];
          const uint32_t len = varlen();
          if (type == 0x2F) ended = true;
          if (type == 0x51 && len == 3) song.tempo[tick] = uint32_t(b[p] << 16 | b[p + 1] << 8 | b[p + 2]);
          if (type == 0x58 && len == 4) song.barNumerator = b[p];
          p += len;
          status = 0;
        } else if (status == 0xF0 || status == 0xF7) {
          p += varlen();
          status = 0;
        } else if (status >= 0x80) {
          const int kind = status & 0xF0, channel = status & 0x0F;
          const int d1 = b[p++];
          const int d2 = (kind == 0xC0 || kind == 0xD0) ? 0 : b[p++];
          if (kind == 0xC0) song.programs[channel] = d1;
          if (kind == 0x90 && d2 > 0) open[{channel, d1}].push_back(tick);
          if (kind == 0x80 || (kind == 0x90 && d2 == 0)) {
            auto& starts = open[{channel, d1}];
            if (starts.empty()) return fail("note-off without a note-on");
            song.notes.push_back({starts.front(), tick, channel, d1});
            starts.erase(starts.begin());
          }
        } else {
          return fail("data byte without a status");
        }
      }
    } catch (const std::exception& e) {
      return fail(e.what());
    }
    if (!ended) return fail("track without an end");
    for (const auto& [k, starts] : open)
      if (!starts.empty()) return fail("note never released");
    song.endTick = std::max(song.endTick, tick);
    ++song.tracks;
    at = end;
  }
  if (song.tracks != declared) return fail("track count differs from the header");
  return song;
}

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
  auto mt768 = [&song](uint64_t tick) { return tick * 768; };
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
