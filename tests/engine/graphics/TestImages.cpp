#include "tests/engine/graphics/TestImages.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

TestImage TestImage::Filled(unsigned width, unsigned height, std::uint32_t argb)
{
    return TestImage{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)};
}

namespace {

void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back((value >> (8 * i)) & 255);
    }
}

bool Save(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

bool WriteBmp(const std::string& path, const TestImage& image)
{
    unsigned row = (image.width * 3 + 3) & ~3u;
    std::vector<unsigned char> out{'B', 'M'};
    Put(out, 54 + row * image.height, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, image.width, 4);
    Put(out, image.height, 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, row * image.height, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (unsigned y = image.height; y-- > 0;) {
        for (unsigned x = 0; x < image.width; ++x) {
            Put(out, image.texels[y * image.width + x] & 0xFFFFFF, 3);
        }
        for (unsigned pad = image.width * 3; pad < row; ++pad) {
            out.push_back(0);
        }
    }
    return Save(path, out);
}

bool WritePng(const std::string& path, const TestImage& image)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&png, path.c_str(), 0, image.texels.data(), 0, nullptr) != 0;
}

bool WriteJpeg(const std::string& path, const TestImage& image)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(image.width * 3);
    while (info.next_scanline < info.image_height) {
        for (unsigned x = 0; x < image.width; ++x) {
            std::uint32_t t = image.texels[info.next_scanline * image.width + x];
            row[x * 3] = (t >> 16) & 255;
            row[x * 3 + 1] = (t >> 8) & 255;
            row[x * 3 + 2] = t & 255;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

namespace {

std::vector<unsigned char> DdsHeader(unsigned width, unsigned height, bool compressed)
{
    std::vector<unsigned char> out{'D', 'D', 'S', ' '};
    Put(out, 124, 4);
    Put(out, compressed ? 0x81007 : 0x100F, 4);
    Put(out, height, 4);
    Put(out, width, 4);
    Put(out, compressed ? ((width + 3) / 4) * ((height + 3) / 4) * 8 : width * 4, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int i = 0; i < 11; ++i) {
        Put(out, 0, 4);
    }
    Put(out, 32, 4);
    if (compressed) {
        Put(out, 0x4, 4);
        out.insert(out.end(), {'D', 'X', 'T', '1'});
        for (int i = 0; i < 5; ++i) {
            Put(out, 0, 4);
        }
    } else {
        Put(out, 0x41, 4);
        Put(out, 0, 4);
        Put(out, 32, 4);
        Put(out, 0x00FF0000, 4);
        Put(out, 0x0000FF00, 4);
        Put(out, 0x000000FF, 4);
        Put(out, 0xFF000000, 4);
    }
    Put(out, 0x1000, 4);
    for (int i = 0; i < 4; ++i) {
        Put(out, 0, 4);
    }
    return out;
}

}  // namespace

bool WriteDds(const std::string& path, const TestImage& image)
{
    auto out = DdsHeader(image.width, image.height, false);
    for (std::uint32_t t : image.texels) {
        Put(out, t, 4);
    }
    return Save(path, out);
}

bool WriteDxt1(const std::string& path, unsigned width, unsigned height, std::uint16_t colour565)
{
    auto out = DdsHeader(width, height, true);
    unsigned blocks = ((width + 3) / 4) * ((height + 3) / 4);
    for (unsigned b = 0; b < blocks; ++b) {
        Put(out, colour565, 2);
        Put(out, 0, 2);
        Put(out, 0, 4);  // every texel takes colour 0
    }
    return Save(path, out);
}

bool ReadBmp(const std::string& path, TestImage* out)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto u32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24; };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || (b[28] | b[29] << 8) != 24) {
        return false;
    }
    unsigned width = u32(18), height = u32(22), offset = u32(10);
    unsigned row = (width * 3 + 3) & ~3u;
    if (b.size() < offset + static_cast<std::size_t>(row) * height) {
        return false;
    }
    *out = TestImage::Filled(width, height, 0);
    for (unsigned y = 0; y < height; ++y) {
        const unsigned char* p = &b[offset + static_cast<std::size_t>(height - 1 - y) * row];
        for (unsigned x = 0; x < width; ++x) {
            out->At(x, y) = 0xFF000000u | p[x * 3 + 2] << 16 | p[x * 3 + 1] << 8 | p[x * 3];
        }
    }
    return true;
}
