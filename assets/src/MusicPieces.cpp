// The seven pieces, written out as note data (notation: Score.h).
#include "MusicPieces.h"

#include "FileWriters.h"
#include "Score.h"

namespace {

// Drum bars shared by several pieces.
const char* kDrumsRock = "k:x.......x.x..... s:....X.......X... h:x.x.x.x.x.x.x.x.";
const char* kDrumsDrive = "k:x...x...x...x... s:....X.......X... h:xxxxxxxxxxxxxxxx";
const char* kDrumsCrash = "k:x...x...x...x... s:....X.......X..X c:x............... h:..x.x.x.x.x.x.x.";
const char* kDrumsHalf = "k:x.........x..... s:........X....... h:x...x...x...x...";
const char* kDrumsBuild = "k:x...x...x...x... s:....x...x.x.xxxx h:x.x.x.x.x.x.x.x.";

// Title: bright and hopeful, C major; loops whole (32 bars, about 66 s).
Piece Title() {
  Piece p;
  p.file = "Music/no.32.mid";
  p.beatsPerMinute = 116;
  p.leadProgram = 80;     // square lead
  p.counterProgram = 73;  // flute
  p.bassProgram = 33;     // finger bass
  p.arpProgram = 46;      // harp
  p.padProgram = 89;      // warm pad
  p.sections = {
      {.name = "A", .bars = 8, .chords = "C G Am F C G F G",
       .melody = "E5q G5q C6q B5e G5e | A5h G5q D5q | E5q. D5e C5q E5q | F5h. rq | "
                 "E5q G5q C6q D6e C6e | B5h G5q A5e B5e | C6q A5q F5q A5q | G5w",
       .bass = "R.......R.F.O...", .arp = "0.1.2.4.0.1.2.4.", .drums = kDrumsRock, .pad = true},
      {.name = "B", .bars = 8, .chords = "F G Em Am Dm G C C",
       .melody = "A5e G5e F5e E5e F5q A5q | B5e A5e G5e F5e G5q B5q | G5q. E5e B4q E5q | A5h. C6q | "
                 "D6q. C6e A5q F5q | G5q B5q D6q G5q | E5h C6h | C6h. rq",
       .counter = "C5w | D5w | B4w | C5w | A4w | B4w | G4w | E4w",
       .bass = "R...R...R.F.R...", .arp = "0.1.2.1.0.1.2.1.", .drums = kDrumsRock, .pad = true},
      {.name = "C", .bars = 8, .chords = "Am Am F F C C G G",
       .melody = "C6h B5q A5q | E5w | F5h A5q C6q | C6h. B5q | G5h E5q G5q | C6w | D6h B5q G5q | D5h. rq",
       .counter = "E4h A4h | C5w | A4h C5h | F4w | E4h G4h | C5w | B4h D5h | G4w",
       .bass = "R.......F.......", .arp = "0..1..2.4..2..1.", .drums = kDrumsHalf, .pad = true, .leadProgram = 73},
      {.name = "A2", .bars = 8, .chords = "C G Am F C G F G",
       .melody = "E5q G5q C6q B5e G5e | A5h G5q D5q | E5q. D5e C5q E5q | F5h. rq | "
                 "E5q G5q C6q D6e C6e | B5h G5q A5e B5e | C6q A5q F5q A5q | G5w",
       .bass = "R.......R.F.O...", .arp = "0.1.2.4.0.1.2.4.", .drums = kDrumsRock, .pad = true, .leadProgram = 80},
  };
  p.order = {"A", "B", "C", "A2"};
  return p;
}

// Stage, levels 0-2: adventurous, E minor, 152 bpm; plays once (112 bars, about 3 minutes).
Piece StageA() {
  Piece p;
  p.file = "Music/no.29.mid";
  p.beatsPerMinute = 152;
  p.leadProgram = 81;     // saw lead
  p.counterProgram = 48;  // strings
  p.bassProgram = 38;     // synth bass
  p.arpProgram = 80;      // square
  p.padProgram = 50;      // synth strings
  p.arpVolume = 55;
  const char* arp = "0.2.4.2.0.2.4.2.";
  p.sections = {
      {.name = "I", .bars = 4, .chords = "Em Em C D", .bass = "R.R.R.R.R.R.O.R.", .arp = arp, .drums = kDrumsBuild},
      {.name = "A", .bars = 8, .chords = "Em C G D Em C D B7",
       .melody = "E5e G5e B5e E6e D6q B5q | C6q. B5e G5q E5q | D5e G5e B5e D6e B5q G5q | A5h. F#5q | "
                 "E5e G5e B5e E6e F#6q E6q | G6q. F#6e E6q C6q | D6q A5q F#5q D6q | D#6h. B5q",
       .bass = "R.R.R.R.R.R.O.R.", .arp = arp, .drums = kDrumsDrive, .leadProgram = 81},
      {.name = "B", .bars = 8, .chords = "C D Bm Em Am B7 Em Em",
       .melody = "G5q E5e G5e C6q G5q | F#5q D5e F#5e A5q D6q | B5q. A5e F#5q D5q | E5w | "
                 "C6q B5q A5q E5q | D#5q F#5q A5q B5q | G5q. F#5e E5q B4q | E5h. rq",
       .counter = "E4w | F#4w | D4w | G4w | E4w | F#4w | B4w | G4w",
       .bass = "R...R...R.R.R...", .arp = arp, .drums = kDrumsRock, .pad = true},
      {.name = "C", .bars = 8, .chords = "G D Em C G D C B7",
       .melody = "B5q. A5e G5q D6q | A5h F#5q A5q | G5q. F#5e E5q B5q | C6h. E6q | "
                 "D6q. C6e B5q G5q | A5q B5q C6q D6q | E6q. D6e C6q G5q | F#5h D#6h",
       .counter = "D5w | A4w | B4w | G4w | D5w | F#4w | E4w | D#4w",
       .bass = "R.R.R.R.R.R.O.R.", .arp = arp, .drums = kDrumsCrash, .pad = true},
      {.name = "K", .bars = 8, .chords = "Am Em Am B7 Am Em C B7",
       .counter = "A4h E5h | G4h B4h | A4h C5h | B4h D#5h | A4h E5h | G4h B4h | C5h E5h | D#5w",
       .bass = "R..R..R.R..R..R.", .arp = "0240240240240242", .drums = kDrumsHalf},
      {.name = "A2", .bars = 8, .chords = "Em C G D Em C D B7",
       .melody = "E5e G5e B5e E6e D6q B5q | C6q. B5e G5q E5q | D5e G5e B5e D6e B5q G5q | A5h. F#5q | "
                 "E5e G5e B5e E6e F#6q E6q | G6q. F#6e E6q C6q | D6q A5q F#5q D6q | D#6h. B5q",
       .counter = "B4w | C5w | B4w | A4w | B4w | C5w | A4w | B4w",
       .bass = "R.R.R.R.R.R.O.R.", .arp = arp, .drums = kDrumsDrive, .pad = true, .leadProgram = 30},
      {.name = "O", .bars = 4, .chords = "Em C B7 Em",
       .melody = "E5h B4h | C5h E5h | D#5h F#5h | E5w", .bass = "R.......R.......", .drums = kDrumsHalf, .pad = true,
       .leadProgram = 48},
  };
  p.order = {"I", "A", "B", "C", "K", "A2", "B", "C", "K", "A", "B", "C", "A2", "C", "O"};
  return p;
}

// Stage, level 3: darker and faster, D minor, 164 bpm (120 bars, about 3 minutes).
Piece StageB() {
  Piece p;
  p.file = "Music/no.34.mid";
  p.beatsPerMinute = 164;
  p.leadProgram = 30;     // distortion guitar
  p.counterProgram = 48;  // strings
  p.bassProgram = 38;     // synth bass
  p.arpProgram = 81;      // saw lead
  p.padProgram = 50;
  p.arpVolume = 50;
  const char* arp = "0.2.4.2.0.2.4.2.";
  p.sections = {
      {.name = "I", .bars = 4, .chords = "Dm Dm Bb A", .bass = "RRR.RRR.RRR.O.R.", .drums = kDrumsBuild},
      {.name = "A", .bars = 8, .chords = "Dm Bb C Dm Dm Bb Gm A7",
       .melody = "D5e D5e A5e D5e C6q A5q | Bb5q. A5e F5q D5q | E5e G5e C6e E6e D6q C6q | A5h. rq | "
                 "D6e D6e C6e D6e F6q D6q | Bb5q. C6e D6q F5q | G5q Bb5q D6q G6q | C#6h E6h",
       .bass = "RRR.RRR.RRR.O.R.", .arp = arp, .drums = kDrumsDrive},
      {.name = "B", .bars = 8, .chords = "Gm Dm Bb A Gm Dm E A7",
       .melody = "Bb5q A5q G5q D5q | F5q. E5e D5h | D6q C6q Bb5q F5q | E5h. A4q | "
                 "G5e A5e Bb5e C6e D6q G5q | A5e Bb5e A5e G5e F5q D5q | G#5q B5q D6q E6q | C#6w",
       .counter = "D4w | F4w | F4w | E4w | D4w | F4w | G#4w | G4w",
       .bass = "R...R...R.R.R...", .arp = arp, .drums = kDrumsRock, .pad = true},
      {.name = "C", .bars = 8, .chords = "Bb C Dm Dm Bb C A A7",
       .melody = "F6q. D6e Bb5q F6q | E6q. C6e G5q E6q | D6h A5q D6q | F6h E6q D6q | "
                 "D6q. Bb5e F5q D6q | E6q. C6e G5q C6q | C#6h E6q A6q | G6h. rq",
       .counter = "D5w | E5w | F5w | A4w | D5w | E5w | C#5w | E5w",
       .bass = "RRR.RRR.RRR.O.R.", .arp = arp, .drums = kDrumsCrash, .pad = true},
      {.name = "K", .bars = 8, .chords = "Dm Dm Bb Bb C C A A",
       .counter = "D5w | F5w | D5w | F5w | E5w | G5w | E5w | C#5w",
       .bass = "R.RR.RR.R.RR.RO.", .arp = "0240240240240242", .drums = kDrumsDrive},
      {.name = "O", .bars = 4, .chords = "Dm Bb A Dm",
       .melody = "D6h A5h | Bb5h F5h | E5h C#5h | D5w", .bass = "R.......R.......", .drums = kDrumsHalf, .pad = true},
  };
  p.order = {"I", "A", "B", "C", "K", "A", "B", "C", "K", "A", "B", "C", "K", "A", "C", "O"};
  return p;
}

// Boss: urgent, C minor, 172 bpm (96 bars, a little over 2 minutes).
Piece Boss() {
  Piece p;
  p.file = "Music/no.39.mid";
  p.beatsPerMinute = 172;
  p.leadProgram = 29;     // overdriven guitar
  p.counterProgram = 61;  // brass section
  p.bassProgram = 38;
  p.arpProgram = 81;
  p.padProgram = 50;
  p.arpVolume = 48;
  const char* arp = "0240240240240240";
  const char* stabs = "C5q rq C5e C5e rq | Ab4q rq Ab4e Ab4e rq | Bb4q rq Bb4e Bb4e rq | C5q rq C5e C5e rq | "
                      "C5q rq C5e C5e rq | Ab4q rq Ab4e Ab4e rq | Bb4q rq Bb4e Bb4e rq | C5q rq C5e C5e rq";
  p.sections = {
      {.name = "I", .bars = 4, .chords = "Cm Cm Ab G", .bass = "RRRRRRRRRRRRRRRR", .drums = kDrumsBuild},
      {.name = "A", .bars = 8, .chords = "Cm Ab Bb Cm Cm Ab G G",
       .melody = "C5e C5e G5e C5e Eb5e C5e G5e C5e | Ab5q. G5e Eb5q C5q | Bb4e Bb4e F5e Bb4e D5e Bb4e F5e Bb4e | C5h. rq | "
                 "C6e C6e G5e C6e Eb6e C6e G5e C6e | Ab5q. Bb5e C6q Eb6q | D6q. C6e B5q G5q | B5h D6h",
       .bass = "R.RR.RR.R.RR.RO.", .arp = arp, .drums = kDrumsDrive},
      {.name = "B", .bars = 8, .chords = "Fm Cm Ab Eb Fm Cm G G",
       .melody = "F5q. Ab5e C6q F6q | Eb6q. D6e C6h | C6q. Bb5e Ab5q Eb5q | G5h. Bb5q | "
                 "Ab5q. G5e F5q C6q | G5q. F5e Eb5q C5q | D5q G5q B5q D6q | F6h D6h",
       .counter = "C5w | G4w | Eb5w | Bb4w | C5w | G4w | B4w | D5w",
       .bass = "R.RR.RR.R.RR.RO.", .arp = arp, .drums = kDrumsCrash, .pad = true},
      {.name = "C", .bars = 8, .chords = "Ab Bb Cm Cm Ab Bb G G",
       .melody = "Eb6h C6q Ab5q | D6h Bb5q F5q | G5q C6q Eb6q G6q | G6h. rq | "
                 "Ab6q. G6e F6q Eb6q | F6q. Eb6e D6q Bb5q | B5q D6q F6q D6q | G6w",
       .counter = "C5w | D5w | Eb5w | G5w | C5w | D5w | D5w | B4w",
       .bass = "RRRRRRRRRRRRRRRR", .arp = arp, .drums = kDrumsCrash, .pad = true},
      {.name = "K", .bars = 8, .chords = "Cm Ab Bb Cm Cm Ab Bb Cm", .counter = stabs,
       .bass = "R.RR.RR.R.RR.RO.", .arp = arp, .drums = kDrumsDrive},
      {.name = "O", .bars = 4, .chords = "Ab G Cm Cm",
       .melody = "Eb6h C6h | D6h B5h | C6w | rw", .bass = "R.......R.......", .drums = kDrumsHalf, .pad = true},
  };
  p.order = {"I", "A", "B", "C", "K", "A", "B", "C", "K", "A", "B", "C", "O"};
  return p;
}

// Second map track: tense and watchful, A minor, 140 bpm (72 bars, about 2 minutes).
Piece Watch() {
  Piece p;
  p.file = "Music/no.58.mid";
  p.beatsPerMinute = 140;
  p.leadProgram = 80;
  p.counterProgram = 11;  // vibraphone
  p.bassProgram = 34;     // picked bass
  p.arpProgram = 8;       // celesta
  p.padProgram = 91;      // choir pad
  const char* drums = "k:x.....x...x..... s:....x.......x... h:x.xxx.xxx.xxx.xx";
  p.sections = {
      {.name = "I", .bars = 4, .chords = "Am Am F E", .bass = "R..R..R.R..R..R.", .arp = "0.1.2.1.0.1.2.1.", .drums = kDrumsHalf},
      {.name = "A", .bars = 8, .chords = "Am F G Em Am F E E",
       .melody = "A4q C5q E5q A5q | G5q. F5e E5q C5q | D5q G5q B5q D6q | B5h. rq | "
                 "A5q. B5e C6q A5q | F5q A5q C6q F6q | E6q. D6e B5q G#5q | E5w",
       .bass = "R..R..R.R..R..R.", .arp = "0.1.2.1.0.1.2.1.", .drums = drums},
      {.name = "B", .bars = 8, .chords = "Dm Am Dm E F G Am Am",
       .melody = "F5q. E5e D5q A5q | C6q. B5e A5h | D6q. C6e A5q F5q | G#5h B5h | "
                 "A5q C6q F6q C6q | B5q D6q G6q D6q | C6q. B5e A5q E5q | A5w",
       .counter = "A4w | C5w | A4w | B4w | C5w | B4w | E5w | C5w",
       .bass = "R...R...R.R.R...", .arp = "0.1.2.1.0.1.2.1.", .drums = drums, .pad = true},
      {.name = "K", .bars = 8, .chords = "Am Am F F G G E E",
       .counter = "E5w | C5w | A4w | C5w | B4w | D5w | G#4w | B4w",
       .bass = "R..R..R.R..R..R.", .arp = "0124012401240124", .drums = kDrumsHalf, .pad = true},
      {.name = "O", .bars = 4, .chords = "F E Am Am",
       .melody = "A5h C6h | B5h G#5h | A5w | rw", .bass = "R.......R.......", .pad = true},
  };
  p.order = {"I", "A", "B", "K", "A", "B", "A", "B", "K", "O"};
  return p;
}

// Stage clear: a fanfare, then a calm four-bar phrase that loops between music times 11100
// and 17000 (768 per quarter note). The score's beat is 368.75 music time (5900 ticks at
// 12288 per quarter, 0.48 s), so the loop is exactly 16 beats; a 37.5 music-time lead-in and a
// two-beat pick-up put the fanfare's 28 beats right before it.
Piece StageClear() {
  Piece p;
  p.file = "Music/no.60.mid";
  p.beatsPerMinute = 125;
  p.division = 12288;
  p.ticksPerSixteenth = 1475;
  p.startTicks = 600;
  p.leadProgram = 56;     // trumpet
  p.counterProgram = 61;  // brass section
  p.bassProgram = 33;
  p.arpProgram = 46;      // harp
  p.padProgram = 48;      // strings
  p.sections = {
      {.name = "P", .bars = 1, .chords = "D:2", .melody = "D5e G5e B5e D6e", .drums = "t:x.x.x.x. s:....xxxx",
       .barBeats = 2},
      {.name = "F", .bars = 7, .chords = "G C G D Em C D",
       .melody = "G5q. G5e B5q D6q | E6h C6q E6q | D6q. B5e G5q B5q | A5h. D6q | "
                 "B5q. A5e G5q B5q | C6q E6q G6q E6q | F#6h. A5q",
       .counter = "B4h D5h | C5h G5h | B4h D5h | A4h F#5h | G4h B4h | G4h C5h | A4h. rq",
       .bass = "R.....R.F.......", .drums = "k:x.....x.x....... s:....X.......X... c:x...............", .pad = true},
      {.name = "L", .bars = 4, .chords = "G Em C D",
       .melody = "B5q. A5e G5q D5q | E5q G5q B5q A5q | G5q. E5e C6q B5q | A5h. rq",
       .bass = "R.......F.......", .arp = "0.1.2.4.2.1.0.1.", .drums = "k:x.......x....... h:..x...x...x...x.", .pad = true,
       .leadProgram = 73},
  };
  p.order = {"P", "F", "L"};
  return p;
}

// Game over: a slow lament in A minor, about 18 s.
Piece GameOver() {
  Piece p;
  p.file = "Music/no.44.mid";
  p.beatsPerMinute = 66;
  p.leadProgram = 68;     // oboe
  p.counterProgram = 42;  // cello
  p.arpProgram = 46;
  p.padProgram = 48;
  p.sections = {
      {.name = "A", .bars = 5, .chords = "Am F Dm E Am",
       .melody = "E5q. D5e C5q B4q | A4q. G4e F4q A4q | D5q. C5e B4q A4q | G#4w | A4w",
       .counter = "A3w | F3w | D3w | E3w | A2w", .arp = "0...1...2...4...", .pad = true},
  };
  p.order = {"A"};
  return p;
}

}  // namespace

void WriteMusicPieces(const std::string& root) {
  for (const Piece& piece : {Title(), StageA(), StageB(), Boss(), Watch(), StageClear(), GameOver()}) {
    WriteBytes(root + "/" + piece.file, RenderPiece(piece).Serialise());
  }
}
