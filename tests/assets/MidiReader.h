#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A Standard MIDI File reader for the tests: notes with their spans, tempo map, programs.
namespace assets_test {

struct NoteSpan {
  uint64_t on, off;
  int channel, key;
};

struct Song {
  std::string error;  // empty when the file parsed
  int format = -1, division = 0;
  size_t tracks = 0;
  uint64_t endTick = 0;
  std::map<uint64_t, uint32_t> tempo;  // tick -> microseconds per quarter
  std::vector<NoteSpan> notes;
  std::map<int, int> programs;         // channel -> program
  int barNumerator = 4;
  double Seconds() const;
};

Song ReadSong(const std::string& path);

}  // namespace assets_test
