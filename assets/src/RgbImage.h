#pragma once
#include <cstdint>
#include <vector>

// A plain 24-bit picture, top row first; what the image writers take.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  RgbImage() = default;
  RgbImage(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};
