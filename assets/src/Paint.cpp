#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace paint {

void Colour(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha);
}

void AddStop(cairo_pattern_t* pattern, double offset, uint32_t rgb, double alpha) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0,
                                    (rgb & 255) / 255.0, alpha);
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void Polygon(cairo_t* cr, std::initializer_list<Point> points) {
  bool first = true;
  for (const Point& p : points) {
    if (first) cairo_move_to(cr, p.first, p.second);
    else cairo_line_to(cr, p.first, p.second);
    first = false;
  }
  cairo_close_path(cr);
}

void MirroredPolygon(cairo_t* cr, double cx, std::initializer_list<Point> leftHalf) {
  bool first = true;
  for (const Point& p : leftHalf) {
    if (first) cairo_move_to(cr, p.first, p.second);
    else cairo_line_to(cr, p.first, p.second);
    first = false;
  }
  for (auto it = std::rbegin(leftHalf); it != std::rend(leftHalf); ++it) cairo_line_to(cr, 2 * cx - it->first, it->second);
  cairo_close_path(cr);
}

void FillStroke(cairo_t* cr, uint32_t fill, uint32_t line, double width) {
  Colour(cr, fill);
  cairo_fill_preserve(cr);
  Colour(cr, line);
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void FillLinear(cairo_t* cr, double x0, double y0, uint32_t a, double x1, double y1, uint32_t b, bool preserve) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  AddStop(p, 0, a);
  AddStop(p, 1, b);
  cairo_set_source(cr, p);
  if (preserve) cairo_fill_preserve(cr);
  else cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void FillRadial(cairo_t* cr, double cx, double cy, double r, uint32_t inner, uint32_t outer, bool preserve) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  AddStop(p, 0, inner);
  AddStop(p, 1, outer);
  cairo_set_source(cr, p);
  if (preserve) cairo_fill_preserve(cr);
  else cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

namespace {

enum class Align { Centre, Origin, Ink };

void SelectFont(cairo_t* cr, const TextStyle& style) {
  cairo_select_font_face(cr, style.condensed ? "DejaVu Sans Condensed" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, style.size);
}

void TextAt(cairo_t* cr, const char* text, double x, double cy, double maxWidth, const TextStyle& style, Align align) {
  cairo_save(cr);
  SelectFont(cr, style);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  const double scale = ext.x_advance > maxWidth && maxWidth > 0 ? maxWidth / ext.x_advance : 1.0;
  const double width = ext.x_advance * scale;
  const double left = align == Align::Centre ? x - width / 2 : align == Align::Ink ? x - ext.x_bearing * scale : x;
  // Vertically centre the capital height (ascent of the digits and capitals).
  const double baseline = cy + style.size * 0.36;
  cairo_translate(cr, left, baseline);
  cairo_scale(cr, scale, 1.0);
  cairo_move_to(cr, 0, 0);
  cairo_text_path(cr, text);
  if (style.outlineWidth > 0) {
    Colour(cr, style.outline);
    cairo_set_line_width(cr, style.outlineWidth * 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  if (style.fill2 != 0xFFFFFFFF) {
    FillLinear(cr, 0, -style.size * 0.75, style.fill, 0, style.size * 0.05, style.fill2);
  } else {
    Colour(cr, style.fill);
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

}  // namespace

void Text(cairo_t* cr, const char* text, double cx, double cy, double maxWidth, const TextStyle& style) {
  TextAt(cr, text, cx, cy, maxWidth, style, Align::Centre);
}

void TextLeft(cairo_t* cr, const char* text, double x, double cy, double maxWidth, const TextStyle& style) {
  TextAt(cr, text, x, cy, maxWidth, style, Align::Origin);
}

void TextFromInk(cairo_t* cr, const char* text, double x, double cy, const TextStyle& style) {
  TextAt(cr, text, x, cy, 0, style, Align::Ink);
}

double TextInkWidth(cairo_t* cr, const char* text, const TextStyle& style) {
  cairo_save(cr);
  SelectFont(cr, style);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  cairo_restore(cr);
  return ext.width + 2 * style.outlineWidth;
}

}  // namespace paint
