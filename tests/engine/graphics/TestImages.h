#pragma once
// Writes small image files of known texels (ARGB, top row first) for the texture tests.
#include <cstdint>
#include <string>
#include <vector>

struct TestImage {
    unsigned width;
    unsigned height;
    std::vector<std::uint32_t> texels;

    static TestImage Filled(unsigned width, unsigned height, std::uint32_t argb);
    std::uint32_t& At(unsigned x, unsigned y) { return texels[y * width + x]; }
};

bool WriteBmp(const std::string& path, const TestImage& image);   // 24-bit, alpha dropped
bool WritePng(const std::string& path, const TestImage& image);   // RGBA
bool WriteJpeg(const std::string& path, const TestImage& image);  // RGB, best quality
bool WriteDds(const std::string& path, const TestImage& image);   // uncompressed A8R8G8B8
// A DDS of 4x4 DXT1 blocks, each block one opaque colour given in 5:6:5.
bool WriteDxt1(const std::string& path, unsigned width, unsigned height, std::uint16_t colour565);
// Reads a 24-bit BMP as written by the engine's screenshot.
bool ReadBmp(const std::string& path, TestImage* out);
