#include "FileWriters.h"

#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot create " + path);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

void WriteBmp(const std::string& path, const RgbImage& image) {
  // 24-bit rows are padded to 4 bytes and stored bottom-up (positive height).
  const uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * uint32_t(image.height);
  std::vector<uint8_t> out;
  out.reserve(54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + dataSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, uint32_t(image.width));
  Put32(out, uint32_t(image.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // BI_RGB, uncompressed
  Put32(out, dataSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& p = image.at(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    for (uint32_t pad = uint32_t(image.width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  WriteBytes(path, out);
}

void WriteJpeg(const std::string& path, const RgbImage& image, int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(image.width);
  cinfo.image_height = JDIMENSION(image.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);  // sequential (baseline) Huffman coding
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(size_t(image.width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& p = image.at(x, int(cinfo.next_scanline));
      row[size_t(x) * 3] = p.r;
      row[size_t(x) * 3 + 1] = p.g;
      row[size_t(x) * 3 + 2] = p.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  free(buffer);
  WriteBytes(path, bytes);
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int rate) {
  const uint32_t dataSize = uint32_t(samples.size()) * 2;
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  Put32(out, 4 + 8 + 18 + 8 + dataSize);
  PutTag(out, "WAVE");
  // The format chunk comes first and holds the full 18-byte WAVEFORMATEX (cbSize 0).
  PutTag(out, "fmt ");
  Put32(out, 18);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, uint32_t(rate));
  Put32(out, uint32_t(rate) * 2);
  Put16(out, 2);
  Put16(out, 16);
  Put16(out, 0);
  PutTag(out, "data");
  Put32(out, dataSize);
  for (float s : samples) {
    long v = std::lround(double(s) * 32767.0);
    if (v > 32767) v = 32767;
    if (v < -32767) v = -32767;
    Put16(out, uint32_t(uint16_t(int16_t(v))));
  }
  WriteBytes(path, out);
}
