#include "ContactSheet.h"

#include <cairo.h>

#include <algorithm>
#include <stdexcept>

#include "Paint.h"

void WriteContactSheet(const std::string& path, const std::vector<ImageEntry>& images, int zoom) {
  const int kColumns = std::max(1, std::min(6, int(images.size()))), kLabel = 18;
  const int kSlot = 256 * zoom + 24;
  const int rows = int(images.size() + kColumns - 1) / kColumns;
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kColumns * kSlot, rows * (kSlot + kLabel));
  cairo_t* cr = cairo_create(sheet);
  paint::Colour(cr, 0x404048);
  cairo_paint(cr);
  for (size_t i = 0; i < images.size(); ++i) {
    const SheetImage& img = *images[i].image;
    const RgbImage flat = img.Flatten();
    const int ox = int(i % kColumns) * kSlot + 12, oy = int(i / kColumns) * (kSlot + kLabel) + kLabel + 4;
    cairo_surface_t* pic = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, flat.width, flat.height);
    unsigned char* data = cairo_image_surface_get_data(pic);
    const int stride = cairo_image_surface_get_stride(pic);
    for (int y = 0; y < flat.height; ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
      for (int x = 0; x < flat.width; ++x) {
        const Rgb p = flat.at(x, y);
        if (p == img.key()) {
          const bool light = ((x / 8) + (y / 8)) % 2 == 0;
          row[x] = light ? 0xFFB0B0B8 : 0xFF787880;
        } else {
          row[x] = 0xFF000000u | (uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b;
        }
      }
    }
    cairo_surface_mark_dirty(pic);
    cairo_save(cr);
    cairo_translate(cr, ox, oy);
    cairo_scale(cr, zoom, zoom);
    cairo_set_source_surface(cr, pic, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(pic);
    cairo_set_line_width(cr, 1);
    paint::Colour(cr, 0xFF2060, 0.8);
    for (const Cell& c : img.cells()) {
      cairo_rectangle(cr, ox + c.x * zoom + 0.5, oy + c.y * zoom + 0.5, c.w * zoom - 1, c.h * zoom - 1);
      cairo_stroke(cr);
    }
    paint::Colour(cr, 0xFFFFFF);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_move_to(cr, ox, oy - 6);
    cairo_show_text(cr, img.file().c_str());
  }
  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(sheet, path.c_str());
  cairo_surface_destroy(sheet);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}
