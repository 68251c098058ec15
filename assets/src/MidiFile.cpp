#include "MidiFile.h"

#include <algorithm>
#include <stdexcept>

MidiFile::MidiFile(int division) : division_(division) {
  if (division <= 0 || division > 0x7FFF) throw std::invalid_argument("MIDI division out of range");
  tracks_.emplace_back();
}

int MidiFile::AddTrack(const std::string& name) {
  tracks_.emplace_back();
  const int index = int(tracks_.size()) - 1;
  std::vector<uint8_t> meta{0xFF, 0x03, uint8_t(name.size())};
  meta.insert(meta.end(), name.begin(), name.end());
  Add(index, 0, 0, meta);
  return index;
}

void MidiFile::Add(int track, uint32_t tick, int order, std::vector<uint8_t> bytes) {
  tracks_.at(size_t(track)).push_back({tick, order, sequence_++, std::move(bytes)});
}

void MidiFile::Tempo(uint32_t tick, uint32_t us) {
  Add(0, tick, 0, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
}

void MidiFile::TimeSignature(uint32_t tick, int numerator, int denominatorPower) {
  Add(0, tick, 0, {0xFF, 0x58, 0x04, uint8_t(numerator), uint8_t(denominatorPower), 24, 8});
}

void MidiFile::Program(int track, uint32_t tick, int channel, int program) {
  Add(track, tick, 1, {uint8_t(0xC0 | channel), uint8_t(program)});
}

void MidiFile::Control(int track, uint32_t tick, int channel, int controller, int value) {
  Add(track, tick, 1, {uint8_t(0xB0 | channel), uint8_t(controller), uint8_t(value)});
}

void MidiFile::Note(int track, uint32_t tick, uint32_t length, int channel, int key, int velocity) {
  if (key < 0 || key > 127 || length == 0) throw std::invalid_argument("bad note");
  Add(track, tick, 3, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(std::clamp(velocity, 1, 127))});
  Add(track, tick + length, 2, {uint8_t(0x80 | channel), uint8_t(key), 0});
}

namespace {

void PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t buf[5];
  int n = 0;
  buf[n++] = uint8_t(v & 0x7F);
  while (v >>= 7) buf[n++] = uint8_t(0x80 | (v & 0x7F));
  while (n) out.push_back(buf[--n]);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

}  // namespace

std::vector<uint8_t> MidiFile::Serialise() const {
  std::vector<uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  out.push_back(uint8_t(tracks_.size() >> 8));
  out.push_back(uint8_t(tracks_.size()));
  out.push_back(uint8_t(division_ >> 8));
  out.push_back(uint8_t(division_));
  for (const auto& track : tracks_) {
    std::vector<Event> events = track;
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
      if (a.tick != b.tick) return a.tick < b.tick;
      if (a.order != b.order) return a.order < b.order;
      return a.sequence < b.sequence;
    });
    std::vector<uint8_t> body;
    uint32_t now = 0;
    for (const Event& e : events) {
      if (e.tick > end_) throw std::logic_error("event after the end of the piece");
      PutVarLen(body, e.tick - now);
      now = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    PutVarLen(body, end_ - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    Put32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}
