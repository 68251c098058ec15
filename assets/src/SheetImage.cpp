#include "SheetImage.h"

#include <algorithm>
#include <cstdlib>

SheetImage::SheetImage(std::string file, int width, int height, Rgb key, Rgb matte)
    : file_(std::move(file)), width_(width), height_(height), key_(key), matte_(matte) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
}

SheetImage::~SheetImage() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

cairo_t* SheetImage::BeginCell(const Cell& cell) {
  cells_.push_back(cell);
  cairo_save(cr_);
  cairo_translate(cr_, cell.x, cell.y);
  const double l = (cell.joins & kJoinLeft) ? 0 : 1;
  const double t = (cell.joins & kJoinTop) ? 0 : 1;
  const double r = (cell.joins & kJoinRight) ? cell.w : cell.w - 1;
  const double b = (cell.joins & kJoinBottom) ? cell.h : cell.h - 1;
  cairo_rectangle(cr_, l, t, r - l, b - t);
  cairo_clip(cr_);
  return cr_;
}

void SheetImage::EndCell() { cairo_restore(cr_); }

namespace {

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Moves an art colour away from the key: black keys need every channel at 8 or above
// (JPEG and filtering must not drift onto the key), white keys no pure white, and the
// green keys no colour within a few steps of themselves.
Rgb AvoidKey(Rgb c, Rgb key) {
  if (key == Rgb{0, 0, 0}) {
    c.r = std::max<uint8_t>(c.r, 8);
    c.g = std::max<uint8_t>(c.g, 8);
    c.b = std::max<uint8_t>(c.b, 8);
    return c;
  }
  if (key == Rgb{255, 255, 255}) {
    c.r = std::min<uint8_t>(c.r, 247);
    c.g = std::min<uint8_t>(c.g, 247);
    c.b = std::min<uint8_t>(c.b, 247);
    return c;
  }
  if (Near(c, key, 6)) c.g = uint8_t(std::max(0, int(key.g) - 24));
  return c;
}

// A lone key pixel inside art would show as a see-through speck: give it its neighbours' colour.
void FillPinholes(RgbImage& img, Rgb key) {
  for (int y = 1; y + 1 < img.height; ++y) {
    for (int x = 1; x + 1 < img.width; ++x) {
      if (!(img.at(x, y) == key)) continue;
      const Rgb n[4] = {img.at(x - 1, y), img.at(x + 1, y), img.at(x, y - 1), img.at(x, y + 1)};
      int r = 0, g = 0, b = 0;
      bool enclosed = true;
      for (const Rgb& c : n) {
        if (c == key) enclosed = false;
        r += c.r;
        g += c.g;
        b += c.b;
      }
      if (enclosed) img.at(x, y) = AvoidKey(Rgb{uint8_t(r / 4), uint8_t(g / 4), uint8_t(b / 4)}, key);
    }
  }
}

}  // namespace

RgbImage SheetImage::Flatten() const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  RgbImage out(width_, height_, key_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < width_; ++x) {
      const uint32_t p = row[x];
      const int a = int(p >> 24);
      if (a < 80) continue;  // low coverage: transparent
      // Premultiplied colour over the matte gives the anti-aliased edge as it will usually be seen.
      const int inv = 255 - a;
      auto mix = [inv](uint32_t premul, uint8_t matte) { return uint8_t(std::min<uint32_t>(255, premul + (matte * inv + 127) / 255)); };
      Rgb c{mix((p >> 16) & 255, matte_.r), mix((p >> 8) & 255, matte_.g), mix(p & 255, matte_.b)};
      out.at(x, y) = AvoidKey(c, key_);
    }
  }
  FillPinholes(out, key_);
  for (const Cell& cell : cells_) {
    for (int i = 0; i < cell.w; ++i) {
      if (!(cell.joins & kJoinTop)) out.at(cell.x + i, cell.y) = key_;
      if (!(cell.joins & kJoinBottom)) out.at(cell.x + i, cell.y + cell.h - 1) = key_;
    }
    for (int j = 0; j < cell.h; ++j) {
      if (!(cell.joins & kJoinLeft)) out.at(cell.x, cell.y + j) = key_;
      if (!(cell.joins & kJoinRight)) out.at(cell.x + cell.w - 1, cell.y + j) = key_;
    }
  }
  return out;
}
