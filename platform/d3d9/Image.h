#pragma once
// A decoded picture: ARGB texels (alpha in the top byte), top row first.
#include <cstdint>
#include <string>
#include <vector>

struct Image {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint32_t> texels;

    std::uint32_t& At(unsigned x, unsigned y) { return texels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(unsigned x, unsigned y) const { return texels[static_cast<std::size_t>(y) * width + x]; }
};

// Decodes a BMP, JPEG, PNG or DDS file, recognised by its contents. False when the file cannot be
// read or is not one of these.
bool DecodeImageFile(const std::string& hostPath, Image* out);
bool DecodeImageMemory(const std::vector<unsigned char>& bytes, Image* out);

// Texture preparation as the texture loader does it.
void ApplyColourKey(Image* image, std::uint32_t colourKey);  // exact ARGB matches become 0
unsigned NextPowerOfTwo(unsigned value);
Image StretchImage(const Image& source, unsigned width, unsigned height);  // box/bilinear resample
Image HalveImage(const Image& source);                                      // next mip level
