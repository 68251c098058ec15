#include "SoundEffects.h"

#include <cmath>
#include <functional>

#include "FileWriters.h"
#include "Synth.h"

using namespace synth;

namespace {

Buffer Hit() {  // the ship is struck: a crunchy impact over a low thump
  Buffer out = Tone(0.35, Wave::Sine, 180, 45);
  Envelope(out, 0.002, 0.09);
  Buffer crunch = Noise(0.3, 1);
  BandPass(crunch, 2500, 600, 0.8);
  Envelope(crunch, 0.001, 0.05);
  Mix(out, crunch, 1.2);
  Buffer zap = Tone(0.2, Wave::Square, 900, 120);
  Envelope(zap, 0.001, 0.05);
  Mix(out, zap, 0.25);
  Drive(out, 2.0);
  FadeOut(out, 0.03);
  return out;
}

// A buzzy vocal source: harmonics falling off like a voice, with a pitch that leaps up and
// sinks as in a shouted call.
Buffer Glottal(double len) {
  Buffer out(Samples(len));
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = double(i) / kRate;
    const double f = t < 0.1 ? 170 + 600 * t : 230 * std::exp(-(t - 0.1) * 0.6);
    phase += f / kRate;
    double v = 0;
    for (int n = 1; n * f < 4500; ++n) v += std::sin(2 * 3.14159265358979 * n * phase) / std::pow(n, 1.1);
    out[i] = float(v * 0.3);
  }
  return out;
}

Buffer Voice() {  // a shouted call, "ha-oh": vowel formants gliding from an open a to an o
  const double len = 0.7;
  const Buffer src = Glottal(len);
  Buffer out;
  const struct {
    double from, to, q, gain;
  } formants[3] = {{760, 520, 5, 1.0}, {1250, 880, 7, 0.7}, {2550, 2400, 9, 0.35}};
  for (const auto& f : formants) {
    Buffer band = src;
    BandPass(band, f.from, f.to, f.q);
    Mix(out, band, f.gain);
  }
  Buffer breath = Noise(0.09, 2);
  BandPass(breath, 1400, 1100, 2);
  Envelope(breath, 0.005, 0.03);
  Mix(out, breath, 0.2);
  Envelope(out, 0.03, 0.4);
  FadeOut(out, 0.12);
  return out;
}

Buffer Bomb() {  // deep blast with a rumbling tail
  Buffer out = Noise(0.95, 3);
  LowPass(out, 1800, 120, 0.9);
  Envelope(out, 0.003, 0.25);
  Buffer boom = Tone(0.8, Wave::Sine, 110, 32);
  Envelope(boom, 0.002, 0.22);
  Mix(out, boom, 1.4);
  Drive(out, 1.6);
  FadeOut(out, 0.15);
  return out;
}

Buffer Beep(double freq, double len) {
  Buffer out = Tone(len, Wave::Square, freq, freq);
  LowPass(out, 5000, 5000);
  Envelope(out, 0.002, len / 2.5);
  FadeOut(out, 0.01);
  return out;
}

Buffer Choose() {  // menu entry chosen: a bright upward pair
  Buffer out;
  Mix(out, Beep(880, 0.07), 1.0);
  Mix(out, Beep(1320, 0.1), 1.0, 0.06);
  return out;
}

Buffer PowerUp() {  // rank shown: a rising arpeggio with a shimmer
  Buffer out;
  const double notes[6] = {523.25, 659.25, 783.99, 1046.5, 1318.5, 1568.0};
  for (int i = 0; i < 6; ++i) {
    Buffer n = Tone(0.16, Wave::Triangle, notes[i], notes[i] * 1.01);
    Buffer o = Tone(0.16, Wave::Sine, notes[i] * 2, notes[i] * 2);
    Mix(n, o, 0.3);
    Envelope(n, 0.003, 0.06);
    Mix(out, n, 1.0, 0.055 * i);
  }
  Buffer sweep = Tone(0.5, Wave::Square, 300, 1600);
  LowPass(sweep, 2000, 6000);
  Envelope(sweep, 0.05, 0.15);
  Mix(out, sweep, 0.15);
  FadeOut(out, 0.05);
  return out;
}

Buffer Cancel() {  // a falling pair
  Buffer out;
  Mix(out, Beep(988, 0.07), 1.0);
  Mix(out, Beep(659, 0.1), 1.0, 0.06);
  return out;
}

Buffer Chime() {  // point item: a short bell, two inharmonic partials (kept under 0.2 s)
  Buffer out = Tone(0.15, Wave::Sine, 1760, 1760);
  Buffer p2 = Tone(0.15, Wave::Sine, 1760 * 2.76, 1760 * 2.76);
  Mix(out, p2, 0.4);
  Buffer p3 = Tone(0.15, Wave::Sine, 2637, 2637);
  Mix(out, p3, 0.5, 0.0);
  Envelope(out, 0.001, 0.045);
  FadeOut(out, 0.02);
  return out;
}

Buffer Explosion(double len, double lowHz, double brightHz, uint32_t seed, double thump) {
  Buffer out = Noise(len, seed);
  LowPass(out, brightHz, lowHz * 3, 0.8);
  Envelope(out, 0.002, len * 0.25);
  Buffer body = Tone(len * 0.8, Wave::Sine, lowHz * 2, lowHz * 0.5);
  Envelope(body, 0.002, len * 0.2);
  Mix(out, body, thump);
  Drive(out, 1.8);
  FadeOut(out, len * 0.2);
  return out;
}

Buffer Swish(double len, double from, double to, uint32_t seed, double toneGain) {
  Buffer out = Noise(len, seed);
  BandPass(out, from, to, 2.5);
  Envelope(out, len * 0.15, len * 0.3);
  if (toneGain > 0) {
    Buffer t = Tone(len, Wave::Triangle, from / 4, to / 4);
    Envelope(t, 0.005, len * 0.35);
    Mix(out, t, toneGain);
  }
  FadeOut(out, len * 0.2);
  return out;
}

Buffer Clank(double len, double base, double ring, uint32_t seed) {
  Buffer out = Noise(0.03, seed);
  HighPass(out, 2000, 2000);
  Envelope(out, 0.0005, 0.008);
  const double ratios[4] = {1.0, 1.47, 2.09, 2.56};
  for (int i = 0; i < 4; ++i) {
    Buffer p = Tone(len, Wave::Sine, base * ratios[i], base * ratios[i] * 0.98);
    Envelope(p, 0.0005, ring / (1 + i * 0.6));
    Mix(out, p, 0.5 / (1 + i * 0.4));
  }
  Drive(out, 1.5);
  FadeOut(out, 0.03);
  return out;
}

Buffer Alarm() {  // two-tone warning, about 1.5 s
  Buffer out;
  for (int i = 0; i < 6; ++i) {
    const double f = i % 2 == 0 ? 880 : 660;
    Buffer t = Tone(0.25, Wave::Square, f, f);
    Buffer t2 = Tone(0.25, Wave::Saw, f * 1.005, f * 1.005);
    Mix(t, t2, 0.4);
    LowPass(t, 3500, 3500);
    Envelope(t, 0.01, 1.0);
    FadeOut(t, 0.02);
    Mix(out, t, 1.0, 0.25 * i);
  }
  return out;
}

}  // namespace

void WriteSoundEffects(const std::string& root) {
  const struct {
    const char* file;
    std::function<Buffer()> make;
  } effects[17] = {
      {"wav/animal00.wav", Hit},
      {"wav/voice017.wav", Voice},
      {"wav/bom25.wav", Bomb},
      {"wav/pi59.wav", [] { return Beep(1320, 0.06); }},
      {"wav/cursor15_a.wav", Choose},
      {"wav/power14.wav", PowerUp},
      {"wav/cursor01.wav", Cancel},
      {"wav/chari08.wav", Chime},
      {"wav/saku05.wav", [] { return Explosion(0.3, 120, 5000, 8, 0.6); }},
      {"wav/burst00.wav", [] { return Explosion(0.6, 80, 3500, 9, 0.9); }},
      {"wav/gun24.wav", [] { return Explosion(1.0, 55, 2500, 10, 1.2); }},
      {"wav/swing32.wav", [] { return Swish(0.09, 6000, 2500, 11, 0.0); }},
      {"wav/swing11.wav", [] { return Swish(0.25, 3000, 700, 12, 0.5); }},
      {"wav/hit39.wav", [] { return Clank(0.2, 620, 0.05, 13); }},
      {"wav/hit44.wav", [] { return Clank(0.3, 330, 0.08, 14); }},
      {"wav/hit77.wav", [] { return Clank(0.35, 470, 0.12, 15); }},
      {"wav/alarm01.wav", Alarm},
  };
  for (const auto& e : effects) {
    Buffer b = e.make();
    Normalise(b, 0.22, 0.89);
    WriteWav(root + "/" + e.file, b, kRate);
  }
}
