// The 17 sound effects as the bank reads them: RIFF WAVE, an 18-byte PCM format chunk first,
// then the data; 16-bit at 44.1 kHz, short, unclipped and about equally loud.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "AssetReaders.h"

using namespace assets_test;

namespace {

struct Effect {
  const char* file;
  double minSeconds, maxSeconds;
};

const Effect kEffects[17] = {
    {"wav/animal00.wav", 0.1, 0.6},  {"wav/voice017.wav", 0.3, 1.2},  {"wav/bom25.wav", 0.3, 1.0},
    {"wav/pi59.wav", 0.02, 0.2},     {"wav/cursor15_a.wav", 0.05, 0.3}, {"wav/power14.wav", 0.2, 1.0},
    {"wav/cursor01.wav", 0.05, 0.3}, {"wav/chari08.wav", 0.03, 0.2},  {"wav/saku05.wav", 0.1, 0.5},
    {"wav/burst00.wav", 0.2, 0.8},   {"wav/gun24.wav", 0.4, 1.0},     {"wav/swing32.wav", 0.03, 0.2},
    {"wav/swing11.wav", 0.05, 0.5},  {"wav/hit39.wav", 0.05, 0.5},    {"wav/hit44.wav", 0.05, 0.5},
    {"wav/hit77.wav", 0.05, 0.5},    {"wav/alarm01.wav", 1.2, 1.8},
};

struct Wave {
  std::string error;
  int channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

// Follows the bank's own reading: RIFF/WAVE, the first sub-chunk must hold the format, then
// the "data" chunk is searched for.
Wave ReadWave(const std::string& path) {
  Wave w;
  const std::vector<uint8_t> b = ReadAll(path);
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    w.error = "not RIFF WAVE";
    return w;
  }
  if (b.size() < 20 || std::string(b.begin() + 12, b.begin() + 16) != "fmt ") {
    w.error = "first chunk is not the format";
    return w;
  }
  const uint32_t fmtSize = Le32(b, 16);
  if (fmtSize != 18 || b.size() < 20 + 18) {
    w.error = "format chunk is not the 18-byte WAVEFORMATEX";
    return w;
  }
  if (Le16(b, 20) != 1) {
    w.error = "not PCM";
    return w;
  }
  w.channels = Le16(b, 22);
  w.rate = int(Le32(b, 24));
  w.bits = Le16(b, 34);
  if (Le16(b, 32) != w.channels * w.bits / 8 || Le32(b, 28) != uint32_t(w.rate) * Le16(b, 32)) {
    w.error = "block alignment or byte rate inconsistent";
    return w;
  }
  size_t at = 20 + fmtSize + (fmtSize & 1);
  while (at + 8 <= b.size()) {
    const uint32_t size = Le32(b, at + 4);
    if (std::string(b.begin() + long(at), b.begin() + long(at) + 4) == "data") {
      if (at + 8 + size > b.size()) {
        w.error = "data chunk runs past the file";
        return w;
      }
      for (size_t i = 0; i + 1 < size; i += 2) w.samples.push_back(int16_t(Le16(b, at + 8 + i)));
      return w;
    }
    at += 8 + size + (size & 1);
  }
  w.error = "no data chunk";
  return w;
}

double LoudestWindowRms(const std::vector<int16_t>& s) {
  const size_t window = 2205;  // 50 ms
  double best = 0;
  for (size_t start = 0; start < s.size(); start += window / 4) {
    double sum = 0;
    for (size_t i = start; i < std::min(s.size(), start + window); ++i) sum += double(s[i]) * s[i];
    best = std::max(best, std::sqrt(sum / window));
  }
  return best / 32768.0;
}

void PrintTo(const Effect& e, std::ostream* os) { *os << e.file; }

class SoundEffects : public ::testing::TestWithParam<Effect> {};

TEST_P(SoundEffects, ArePcm16Bit44kHzOfFittingLengthAndUnclipped) {
  const Effect& e = GetParam();
  const Wave w = ReadWave(ProgramPath(e.file));
  ASSERT_EQ(w.error, "");
  EXPECT_EQ(w.rate, 44100);
  EXPECT_EQ(w.bits, 16);
  ASSERT_GE(w.channels, 1);
  const double seconds = double(w.samples.size()) / w.channels / w.rate;
  EXPECT_GE(seconds, e.minSeconds);
  EXPECT_LE(seconds, e.maxSeconds);
  int peak = 0;
  for (int16_t v : w.samples) peak = std::max(peak, std::abs(int(v)));
  EXPECT_LT(peak, 32767) << "clipped";
  EXPECT_GT(peak, 8000) << "too quiet to hear over the music";
}

INSTANTIATE_TEST_SUITE_P(Files, SoundEffects, ::testing::ValuesIn(kEffects), [](const auto& info) {
  std::string name = info.param.file + 4;
  return name.substr(0, name.find('.'));
});

TEST(SoundEffectSet, LoudnessIsMatched) {
  std::vector<double> levels;
  for (const Effect& e : kEffects) {
    const Wave w = ReadWave(ProgramPath(e.file));
    ASSERT_EQ(w.error, "") << e.file;
    levels.push_back(LoudestWindowRms(w.samples));
  }
  const auto [lo, hi] = std::minmax_element(levels.begin(), levels.end());
  EXPECT_LT(*hi / *lo, 2.0) << "loudest vs quietest effect (about 6 dB allowed)";
}

}  // namespace
