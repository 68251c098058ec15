#pragma once
#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

// Drawing shorthands shared by the art code. Colours are 0xRRGGBB with a separate alpha.
namespace paint {

using Point = std::pair<double, double>;

void Colour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void AddStop(cairo_pattern_t* pattern, double offset, uint32_t rgb, double alpha = 1.0);
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Polygon(cairo_t* cr, std::initializer_list<Point> points);
// Polygon given for the left half (x <= cx), mirrored to the right around cx.
void MirroredPolygon(cairo_t* cr, double cx, std::initializer_list<Point> leftHalf);
void FillStroke(cairo_t* cr, uint32_t fill, uint32_t line, double width);
// Linear gradient fill of the current path from (x0,y0) colour a to (x1,y1) colour b.
void FillLinear(cairo_t* cr, double x0, double y0, uint32_t a, double x1, double y1, uint32_t b, bool preserve = false);
void FillRadial(cairo_t* cr, double cx, double cy, double r, uint32_t inner, uint32_t outer, bool preserve = false);
void Circle(cairo_t* cr, double cx, double cy, double r);

struct TextStyle {
  double size = 16;
  bool bold = true;
  bool condensed = false;
  uint32_t fill = 0xFFFFFF;
  uint32_t outline = 0x102050;
  double outlineWidth = 0;  // 0: no outline
  uint32_t fill2 = 0xFFFFFFFF;  // second fill colour for a top-to-bottom gradient (0xFFFFFFFF: none)
};

// Draws text centred on (cx, cy), shrunk horizontally when it is wider than maxWidth.
void Text(cairo_t* cr, const char* text, double cx, double cy, double maxWidth, const TextStyle& style);
// The same, left-aligned at x.
void TextLeft(cairo_t* cr, const char* text, double x, double cy, double maxWidth, const TextStyle& style);
// Unscaled text whose leftmost glyph ink (outline excluded) starts at x, whatever its letters.
void TextFromInk(cairo_t* cr, const char* text, double x, double cy, const TextStyle& style);
// The width the text's ink covers, outline included.
double TextInkWidth(cairo_t* cr, const char* text, const TextStyle& style);

}  // namespace paint
