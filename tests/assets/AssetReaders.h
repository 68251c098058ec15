#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Small readers for the generated files, written for the tests (independent of the generator).
namespace assets_test {

std::string ProgramPath(const std::string& relative);
std::vector<uint8_t> ReadAll(const std::string& path);
uint32_t Le32(const std::vector<uint8_t>& b, size_t at);
uint16_t Le16(const std::vector<uint8_t>& b, size_t at);
uint32_t Be32(const std::vector<uint8_t>& b, size_t at);

struct Pixel {
  uint8_t r, g, b;
  bool operator==(const Pixel&) const = default;
};

struct Picture {
  int width = 0, height = 0;
  std::vector<Pixel> pixels;  // top row first
  const Pixel& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Reads a 24-bit uncompressed bottom-up BMP; returns an error text or "" on success.
std::string ReadBmp(const std::string& path, Picture& out);
// Decodes a JPEG with libjpeg; reports whether it is a baseline (sequential) file.
std::string ReadJpeg(const std::string& path, Picture& out, bool& baseline);

}  // namespace assets_test
