#include "AssetReaders.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace assets_test {

std::string ProgramPath(const std::string& relative) { return std::string(PROGRAM_DIR) + "/" + relative; }

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | uint32_t(b[at + 3]);
}

std::string ReadBmp(const std::string& path, Picture& out) {
  const std::vector<uint8_t> b = ReadAll(path);
  if (b.size() < 54) return "missing or shorter than the headers";
  if (b[0] != 'B' || b[1] != 'M') return "no BM signature";
  if (Le32(b, 2) != b.size()) return "file size field does not match the file";
  if (Le32(b, 14) != 40) return "info header is not 40 bytes";
  const int32_t width = int32_t(Le32(b, 18)), height = int32_t(Le32(b, 22));
  if (width <= 0 || height <= 0) return "width or height not positive (top-down or empty)";
  if (Le16(b, 26) != 1 || Le16(b, 28) != 24) return "not one plane of 24 bits";
  if (Le32(b, 30) != 0) return "compressed";
  const uint32_t offset = Le32(b, 10);
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  if (offset < 54 || offset + stride * size_t(height) > b.size()) return "pixel data out of the file";
  out.width = width;
  out.height = height;
  out.pixels.resize(size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + stride * size_t(height - 1 - y);  // bottom-up
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &b[row + size_t(x) * 3];
      out.pixels[size_t(y) * width + x] = {p[2], p[1], p[0]};
    }
  }
  return "";
}

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }

}  // namespace

std::string ReadJpeg(const std::string& path, Picture& out, bool& baseline) {
  std::vector<uint8_t> bytes = ReadAll(path);
  if (bytes.size() < 4) return "missing";
  jpeg_decompress_struct cinfo{};
  JpegError err{};
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return "libjpeg could not decode it";
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), (unsigned long)bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  // Baseline: sequential DCT with 8-bit samples and Huffman coding, not progressive.
  baseline = !cinfo.progressive_mode && !cinfo.arith_code && cinfo.data_precision == 8;
  jpeg_start_decompress(&cinfo);
  out.width = int(cinfo.output_width);
  out.height = int(cinfo.output_height);
  out.pixels.resize(size_t(out.width) * out.height);
  std::vector<uint8_t> row(size_t(out.width) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = int(cinfo.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    for (int x = 0; x < out.width; ++x) out.pixels[size_t(y) * out.width + x] = {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return "";
}

}  // namespace assets_test
