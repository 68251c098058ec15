#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A Standard MIDI File (format 1) under construction: events at absolute ticks per track.
class MidiFile {
 public:
  explicit MidiFile(int division);

  int division() const { return division_; }
  // Adds a track and returns its index; track 0 is the conductor track (tempo and metre).
  int AddTrack(const std::string& name);
  void Tempo(uint32_t tick, uint32_t microsPerQuarter);
  void TimeSignature(uint32_t tick, int numerator, int denominatorPower);
  void Program(int track, uint32_t tick, int channel, int program);
  void Control(int track, uint32_t tick, int channel, int controller, int value);
  void Note(int track, uint32_t tick, uint32_t length, int channel, int key, int velocity);
  // Every track ends exactly here (a whole number of bars, so a looped piece joins cleanly).
  void SetEnd(uint32_t tick) { end_ = tick; }

  std::vector<uint8_t> Serialise() const;

 private:
  struct Event {
    uint32_t tick;
    int order;  // at equal ticks: meta and set-up first, then note-offs, then note-ons
    uint32_t sequence;
    std::vector<uint8_t> bytes;
  };
  void Add(int track, uint32_t tick, int order, std::vector<uint8_t> bytes);

  int division_;
  uint32_t end_ = 0;
  uint32_t sequence_ = 0;
  std::vector<std::vector<Event>> tracks_;
};
