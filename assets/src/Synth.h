#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Building blocks for the sound effects: buffers of float samples at 44.1 kHz in -1..1.
namespace synth {

inline constexpr int kRate = 44100;
using Buffer = std::vector<float>;

Buffer Silence(double seconds);
size_t Samples(double seconds);

enum class Wave { Sine, Square, Saw, Triangle };

// An oscillator whose frequency glides exponentially from f0 to f1 over the buffer.
Buffer Tone(double seconds, Wave wave, double f0, double f1, double vibratoHz = 0, double vibratoDepth = 0);
// Deterministic white noise (its own generator, seeded per call).
Buffer Noise(double seconds, uint32_t seed);

// Envelope: linear attack, then exponential decay with the given time constant.
void Envelope(Buffer& b, double attack, double decay);
// Cuts the tail linearly to zero over the last `seconds` (no click at the end).
void FadeOut(Buffer& b, double seconds);
// Resonant filters (biquad); cutoff may glide from c0 to c1 over the buffer.
void LowPass(Buffer& b, double c0, double c1, double q = 0.707);
void HighPass(Buffer& b, double c0, double c1, double q = 0.707);
void BandPass(Buffer& b, double c0, double c1, double q);
// Soft saturation for grit.
void Drive(Buffer& b, double amount);

// out += in * gain, starting at `at` seconds (out grows as needed).
void Mix(Buffer& out, const Buffer& in, double gain, double at = 0);

// Scales so that the loudest 50 ms window has the target RMS, then pulls the peak below
// `peakLimit`: effects come out about equally loud and never clip.
void Normalise(Buffer& b, double targetRms, double peakLimit);

}  // namespace synth
