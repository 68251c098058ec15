#include "Score.h"

#include <cctype>
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int kLead = 0, kCounter = 1, kBass = 2, kArp = 3, kPad = 4, kDrums = 9;

[[noreturn]] void Fail(const Section& s, const std::string& what) {
  throw std::invalid_argument("section " + s.name + ": " + what);
}

int PitchClass(char letter) {
  static const std::map<char, int> classes{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
  auto it = classes.find(char(std::toupper(letter)));
  return it == classes.end() ? -1 : it->second;
}

// Parses a pitch at text[pos] ("C#5"), returning the MIDI key (C4 = 60).
int ParsePitch(const Section& s, const std::string& text, size_t& pos) {
  int pc = PitchClass(text[pos]);
  if (pc < 0) Fail(s, "bad pitch in '" + text + "'");
  ++pos;
  if (pos < text.size() && (text[pos] == '#' || text[pos] == 'b')) pc += text[pos++] == '#' ? 1 : -1;
  if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) Fail(s, "missing octave in '" + text + "'");
  const int octave = text[pos++] - '0';
  return 12 * (octave + 1) + pc;
}

struct Note {
  int start;  // in sixteenths from the section start
  int length;
  int key;    // -1 rest
};

std::vector<Note> ParseVoice(const Section& s, const std::string& text, int barLength) {
  std::vector<Note> notes;
  std::istringstream in(text);
  std::string token;
  int at = 0;
  while (in >> token) {
    if (token == "|") {
      if (at % barLength != 0) Fail(s, "bar line at sixteenth " + std::to_string(at) + " is not on a bar");
      continue;
    }
    size_t pos = 0;
    int key = -1;
    if (token[0] == 'r') ++pos;
    else key = ParsePitch(s, token, pos);
    int length = 0;
    for (; pos < token.size() && token[pos] != '.'; ++pos) {
      switch (token[pos]) {
        case 'w': length += 16; break;
        case 'h': length += 8; break;
        case 'q': length += 4; break;
        case 'e': length += 2; break;
        case 's': length += 1; break;
        default: Fail(s, "bad duration in '" + token + "'");
      }
    }
    if (pos < token.size()) length += length / 2;
    if (length == 0) Fail(s, "no duration in '" + token + "'");
    notes.push_back({at, length, key});
    at += length;
  }
  if (at != s.bars * barLength) {
    Fail(s, "voice lasts " + std::to_string(at) + " sixteenths, the section " + std::to_string(s.bars * barLength));
  }
  return notes;
}

struct Chord {
  int start, length;  // sixteenths
  int root;           // pitch class
  int bass;           // pitch class of the bass note
  std::vector<int> tones;  // semitones above the root
};

std::vector<Chord> ParseChords(const Section& s, int beatsPerBar) {
  std::vector<Chord> chords;
  std::istringstream in(s.chords);
  std::string token;
  int at = 0;
  while (in >> token) {
    if (token == "|") continue;
    Chord c{};
    c.start = at;
    c.length = beatsPerBar * 4;
    size_t colon = token.find(':');
    if (colon != std::string::npos) {
      c.length = std::stoi(token.substr(colon + 1)) * 4;
      token = token.substr(0, colon);
    }
    std::string bass;
    size_t slash = token.find('/');
    if (slash != std::string::npos) {
      bass = token.substr(slash + 1);
      token = token.substr(0, slash);
    }
    size_t pos = 0;
    c.root = PitchClass(token[pos++]);
    if (c.root < 0) Fail(s, "bad chord '" + token + "'");
    if (pos < token.size() && (token[pos] == '#' || token[pos] == 'b')) c.root = (c.root + (token[pos++] == '#' ? 1 : 11)) % 12;
    const std::string quality = token.substr(pos);
    static const std::map<std::string, std::vector<int>> qualities{
        {"", {0, 4, 7, 12}},      {"m", {0, 3, 7, 12}},     {"7", {0, 4, 7, 10}},  {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}},  {"sus4", {0, 5, 7, 12}},  {"dim", {0, 3, 6, 9}}, {"5", {0, 7, 12, 19}},
        {"add9", {0, 4, 7, 14}},  {"m9", {0, 3, 7, 14}}};
    auto q = qualities.find(quality);
    if (q == qualities.end()) Fail(s, "unknown chord quality '" + quality + "'");
    c.tones = q->second;
    c.bass = c.root;
    if (!bass.empty()) {
      c.bass = PitchClass(bass[0]);
      if (c.bass < 0) Fail(s, "bad bass '" + bass + "'");
      if (bass.size() > 1) c.bass = (c.bass + (bass[1] == '#' ? 1 : 11)) % 12;
    }
    chords.push_back(c);
    at += c.length;
  }
  if (at != s.bars * beatsPerBar * 4) Fail(s, "chords do not fill the section");
  return chords;
}

const Chord& ChordAt(const std::vector<Chord>& chords, int at) {
  for (const Chord& c : chords) {
    if (at >= c.start && at < c.start + c.length) return c;
  }
  return chords.back();
}

// Keeps a key near a register centre.
int Near(int pitchClass, int centre) {
  int key = centre - ((centre - pitchClass) % 12 + 12) % 12;
  if (centre - key > 6) key += 12;
  return key;
}

// Pattern lanes: runs of '-' extend the previous step's note.
struct Step {
  int at, length;
  char symbol;
};

std::vector<Step> PatternSteps(const Section& s, const std::string& pattern, int barLength) {
  if (int(pattern.size()) != barLength) Fail(s, "pattern '" + pattern + "' is not one bar long");
  std::vector<Step> steps;
  for (int i = 0; i < barLength; ++i) {
    const char c = pattern[size_t(i)];
    if (c == '.') continue;
    if (c == '-') {
      if (!steps.empty() && steps.back().at + steps.back().length == i) steps.back().length++;
      continue;
    }
    steps.push_back({i, 1, c});
  }
  return steps;
}

int DrumKey(char lane) {
  switch (lane) {
    case 'k': return 36;
    case 's': return 38;
    case 'h': return 42;
    case 'o': return 46;
    case 'c': return 49;
    case 'r': return 51;
    case 't': return 45;
    case 'p': return 39;
    default: return -1;
  }
}

}  // namespace

uint32_t PieceTicks(const Piece& piece) {
  std::map<std::string, int> bars;
  for (const Section& s : piece.sections) bars[s.name] = s.bars * (s.barBeats ? s.barBeats : piece.beatsPerBar);
  uint32_t sixteenths = 0;
  for (const std::string& name : piece.order) sixteenths += uint32_t(bars.at(name) * 4);
  return uint32_t(piece.startTicks) + sixteenths * uint32_t(piece.ticksPerSixteenth);
}

MidiFile RenderPiece(const Piece& piece) {
  MidiFile midi(piece.division);
  const uint32_t t16 = uint32_t(piece.ticksPerSixteenth);
  // The score's beat (four sixteenths) lasts 60/bpm seconds whatever its length in quarters.
  const double quartersPerBeat = 4.0 * t16 / piece.division;
  midi.Tempo(0, uint32_t(std::lround(60e6 / piece.beatsPerMinute / quartersPerBeat)));
  midi.TimeSignature(0, piece.beatsPerBar, 2);
  const int lead = midi.AddTrack("Lead"), counter = midi.AddTrack("Counter"), bass = midi.AddTrack("Bass");
  const int arp = midi.AddTrack("Arpeggio"), pad = midi.AddTrack("Pad"), drums = midi.AddTrack("Drums");
  const struct {
    int track, channel, program, volume, pan;
  } setup[] = {{lead, kLead, piece.leadProgram, piece.leadVolume, 64},   {counter, kCounter, piece.counterProgram, piece.counterVolume, 44},
               {bass, kBass, piece.bassProgram, piece.bassVolume, 64},   {arp, kArp, piece.arpProgram, piece.arpVolume, 84},
               {pad, kPad, piece.padProgram, piece.padVolume, 64},       {drums, kDrums, 0, piece.drumVolume, 64}};
  for (const auto& s : setup) {
    if (s.channel != kDrums) midi.Program(s.track, 0, s.channel, s.program);
    midi.Control(s.track, 0, s.channel, 7, s.volume);
    midi.Control(s.track, 0, s.channel, 10, s.pan);
    midi.Control(s.track, 0, s.channel, 91, 40);  // a little reverb
  }
  std::map<std::string, const Section*> byName;
  for (const Section& s : piece.sections) byName[s.name] = &s;
  uint32_t at = uint32_t(piece.startTicks);
  auto tick = [&](int sixteenth) { return at + uint32_t(sixteenth) * t16; };
  // Notes are released a little early so that repeated notes re-strike cleanly.
  auto len = [&](int sixteenths, bool legato) {
    const uint32_t full = uint32_t(sixteenths) * t16;
    return legato ? full : full - std::max<uint32_t>(1, t16 / 8);
  };
  for (const std::string& name : piece.order) {
    auto found = byName.find(name);
    if (found == byName.end()) throw std::invalid_argument("no section named " + name);
    const Section& s = *found->second;
    const int beats = s.barBeats ? s.barBeats : piece.beatsPerBar;
    const int barLength = beats * 4;
    const std::vector<Chord> chords = ParseChords(s, beats);
    if (s.leadProgram >= 0) midi.Program(lead, tick(0), kLead, s.leadProgram);
    for (const auto& [voice, track, channel, shift] :
         {std::tuple{&s.melody, lead, kLead, 12 * s.leadOctave}, std::tuple{&s.counter, counter, kCounter, 0}}) {
      if (voice->empty()) continue;
      for (const Note& n : ParseVoice(s, *voice, barLength)) {
        if (n.key >= 0) midi.Note(track, tick(n.start), len(n.length, false), channel, n.key + shift, channel == kLead ? 100 : 80);
      }
    }
    for (int bar = 0; bar < s.bars; ++bar) {
      const int barStart = bar * barLength;
      if (!s.bass.empty()) {
        for (const Step& st : PatternSteps(s, s.bass, barLength)) {
          const Chord& c = ChordAt(chords, barStart + st.at);
          int key = Near(c.bass, 40);
          if (st.symbol == 'F') key = Near((c.root + 7) % 12, 43);
          if (st.symbol == 'T') key = Near((c.root + c.tones[1]) % 12, 42);
          if (st.symbol == 'O') key = Near(c.bass, 40) + 12;
          midi.Note(bass, tick(barStart + st.at), len(st.length, false), kBass, key, st.at % 4 == 0 ? 105 : 90);
        }
      }
      if (!s.arp.empty()) {
        for (const Step& st : PatternSteps(s, s.arp, barLength)) {
          if (!std::isdigit(static_cast<unsigned char>(st.symbol))) Fail(s, "arp steps are digits");
          const Chord& c = ChordAt(chords, barStart + st.at);
          const int index = st.symbol - '0';
          const int key = Near(c.root, 62) + c.tones[size_t(index % 3)] + 12 * (index / 3);
          midi.Note(arp, tick(barStart + st.at), len(st.length, false), kArp, key, st.at % 4 == 0 ? 78 : 64);
        }
      }
      if (!s.drums.empty()) {
        std::istringstream lanes(s.drums);
        std::string lane;
        while (lanes >> lane) {
          if (lane.size() < 2 || lane[1] != ':' || DrumKey(lane[0]) < 0) Fail(s, "bad drum lane '" + lane + "'");
          const std::string steps = lane.substr(2);
          if (int(steps.size()) != barLength) Fail(s, "drum lane '" + lane + "' is not one bar long");
          for (int i = 0; i < barLength; ++i) {
            const char c = steps[size_t(i)];
            if (c == '.') continue;
            const int velocity = c == 'X' ? 118 : c == 'o' ? 60 : 92;
            midi.Note(drums, tick(barStart + i), len(1, false), kDrums, DrumKey(lane[0]), velocity);
          }
        }
      }
    }
    if (s.pad) {
      for (const Chord& c : chords) {
        const int root = Near(c.root, 57);
        for (size_t k = 0; k < 3; ++k) midi.Note(pad, tick(c.start), len(c.length, false), kPad, root + c.tones[k], 62);
      }
    }
    at += uint32_t(s.bars * barLength) * t16;
  }
  midi.SetEnd(at);
  return midi;
}
