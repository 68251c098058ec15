#include "MidiReader.h"

#include <stdexcept>

#include "AssetReaders.h"

namespace assets_test {

double Song::Seconds() const {
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

}  // namespace assets_test
