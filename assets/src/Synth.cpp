#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
constexpr double kPi = 3.14159265358979323846;

double Glide(double from, double to, double t) { return from * std::pow(to / from, t); }
}  // namespace

size_t Samples(double seconds) { return size_t(std::lround(seconds * kRate)); }

Buffer Silence(double seconds) { return Buffer(Samples(seconds), 0.0f); }

Buffer Tone(double seconds, Wave wave, double f0, double f1, double vibratoHz, double vibratoDepth) {
  Buffer b(Samples(seconds));
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    const double t = double(i) / kRate;
    double f = Glide(f0, f1, b.size() > 1 ? double(i) / double(b.size() - 1) : 0);
    if (vibratoHz > 0) f *= 1 + vibratoDepth * std::sin(2 * kPi * vibratoHz * t);
    phase += f / kRate;
    phase -= std::floor(phase);
    double v = 0;
    switch (wave) {
      case Wave::Sine: v = std::sin(2 * kPi * phase); break;
      case Wave::Square: v = phase < 0.5 ? 0.7 : -0.7; break;
      case Wave::Saw: v = 2 * phase - 1; break;
      case Wave::Triangle: v = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase; break;
    }
    b[i] = float(v);
  }
  return b;
}

Buffer Noise(double seconds, uint32_t seed) {
  Buffer b(Samples(seconds));
  uint32_t s = seed * 2654435761u + 12345u;
  for (float& v : b) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    v = float((s & 0xFFFFFF) / double(0x800000) - 1.0);
  }
  return b;
}

void Envelope(Buffer& b, double attack, double decay) {
  for (size_t i = 0; i < b.size(); ++i) {
    const double t = double(i) / kRate;
    double g = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    b[i] = float(b[i] * g);
  }
}

void FadeOut(Buffer& b, double seconds) {
  const size_t n = std::min(b.size(), Samples(seconds));
  for (size_t k = 0; k < n; ++k) b[b.size() - 1 - k] = float(b[b.size() - 1 - k] * double(k) / double(n));
}

namespace {

enum class Kind { Low, High, Band };

void Biquad(Buffer& b, Kind kind, double c0, double c1, double q) {
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    const double fc = std::min(Glide(c0, c1, b.size() > 1 ? double(i) / double(b.size() - 1) : 0), kRate * 0.45);
    const double w = 2 * kPi * fc / kRate, cw = std::cos(w), alpha = std::sin(w) / (2 * q);
    double b0, b1, b2;
    switch (kind) {
      case Kind::Low: b0 = (1 - cw) / 2; b1 = 1 - cw; b2 = (1 - cw) / 2; break;
      case Kind::High: b0 = (1 + cw) / 2; b1 = -(1 + cw); b2 = (1 + cw) / 2; break;
      default: b0 = alpha; b1 = 0; b2 = -alpha; break;
    }
    const double a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
    const double x = b[i];
    const double y = (b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    b[i] = float(y);
  }
}

}  // namespace

void LowPass(Buffer& b, double c0, double c1, double q) { Biquad(b, Kind::Low, c0, c1, q); }
void HighPass(Buffer& b, double c0, double c1, double q) { Biquad(b, Kind::High, c0, c1, q); }
void BandPass(Buffer& b, double c0, double c1, double q) { Biquad(b, Kind::Band, c0, c1, q); }

void Drive(Buffer& b, double amount) {
  const double norm = std::tanh(amount);
  for (float& v : b) v = float(std::tanh(v * amount) / norm);
}

void Mix(Buffer& out, const Buffer& in, double gain, double at) {
  const size_t start = Samples(at);
  if (out.size() < start + in.size()) out.resize(start + in.size(), 0.0f);
  for (size_t i = 0; i < in.size(); ++i) out[start + i] += float(in[i] * gain);
}

void Normalise(Buffer& b, double targetRms, double peakLimit) {
  const size_t window = Samples(0.05);
  double best = 0;
  for (size_t start = 0; start < b.size(); start += window / 4) {
    double sum = 0;
    const size_t end = std::min(b.size(), start + window);
    for (size_t i = start; i < end; ++i) sum += double(b[i]) * b[i];
    best = std::max(best, std::sqrt(sum / double(window)));
  }
  if (best <= 0) return;
  double gain = targetRms / best;
  double peak = 0;
  for (float v : b) peak = std::max(peak, std::fabs(double(v)));
  if (peak * gain > peakLimit) gain = peakLimit / peak;
  for (float& v : b) v = float(v * gain);
}

}  // namespace synth
