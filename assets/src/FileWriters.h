#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "RgbImage.h"

// Small writers for the formats the program reads. Each throws std::runtime_error on I/O failure.
void WriteBmp(const std::string& path, const RgbImage& image);
void WriteJpeg(const std::string& path, const RgbImage& image, int quality);
// Mono 16-bit PCM at the given rate; samples are in -1..1 and are rounded, never clipped here.
void WriteWav(const std::string& path, const std::vector<float>& samples, int rate);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
