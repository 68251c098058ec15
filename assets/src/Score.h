#pragma once
#include <string>
#include <vector>

#include "MidiFile.h"

// A piece written as readable text, rendered to a MIDI file.
//
// Notes:   pitch + octave + durations, e.g. "E5q", "C#5e.", "Bb4h", rests "rq". Durations:
//          w whole, h half, q quarter, e eighth, s sixteenth; several letters add up ("hq"),
//          a trailing '.' adds half. '|' marks a bar line and is checked.
// Chords:  one symbol per bar ("Am"), or with a length in beats ("Am:2 G:2"); qualities
//          m 7 m7 maj7 sus4 dim 5; an optional "/E" bass.
// Bass:    one character per sixteenth of a bar: R root, F fifth, O octave, T third,
//          '-' holds the previous note, '.' rests.
// Arp:     the same grid, digits 0-7 pick chord tones upward (0 root, 1 third, 2 fifth, ...).
// Drums:   lanes "k:x...x..." for kick, snare s, closed hat h, open hat o, crash c, ride r,
//          tom t, clap p; x normal, X accent, o soft.
struct Section {
  std::string name;
  int bars = 4;
  std::string chords;
  std::string melody;   // lead voice; empty: none
  std::string counter;  // second voice; empty: none
  std::string bass;     // one bar, repeated; empty: none
  std::string arp;      // one bar, repeated; empty: none
  std::string drums;    // one bar, repeated; empty: none
  bool pad = false;     // hold the chords on the pad
  int leadProgram = -1; // program change for the lead at this section; -1 keeps it
  int leadOctave = 0;   // lead transposed by octaves in this section
  int barBeats = 0;     // beats per bar of this section (a pick-up); 0: the piece's metre
};

struct Piece {
  std::string file;
  double beatsPerMinute = 120;
  int beatsPerBar = 4;
  int division = 480;            // file ticks per quarter note
  int ticksPerSixteenth = 120;   // length of the score's sixteenth in file ticks
  int startTicks = 0;            // silence before the first bar
  int leadProgram = 80, counterProgram = 73, bassProgram = 33, arpProgram = 46, padProgram = 89;
  int leadVolume = 100, counterVolume = 80, bassVolume = 100, arpVolume = 70, padVolume = 70, drumVolume = 100;
  std::vector<Section> sections;
  std::vector<std::string> order;  // section names in playing order
};

// Renders the piece; throws std::invalid_argument with the section name on a notation error.
MidiFile RenderPiece(const Piece& piece);
// Length of the rendered piece in file ticks.
uint32_t PieceTicks(const Piece& piece);
