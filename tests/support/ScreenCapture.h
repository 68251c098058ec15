#pragma once
// What the X server really shows: the root window read back, pixel by pixel.
#include <cstdint>
#include <vector>

struct ScreenCapture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0xFFRRGGBB, top row first

    // The whole screen of the display in DISPLAY; empty when it cannot be read.
    static ScreenCapture Take();
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
