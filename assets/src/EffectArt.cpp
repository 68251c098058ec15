// Shots, explosions, the HUD objects and the digit strip.
#include <cmath>
#include <cstdio>

#include "Art.h"
#include "Paint.h"

using namespace paint;

namespace {

// A glowing orb: white core, saturated body, dark rim so it reads on the pale sky.
void Orb(cairo_t* cr, double cx, double cy, double r, uint32_t body, uint32_t rim) {
  Circle(cr, cx, cy, r);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.2, cy - r * 0.2, 0, cx, cy, r);
  AddStop(p, 0, 0xFFFFFF);
  AddStop(p, 0.35, 0xFFFFFF);
  AddStop(p, 0.6, body);
  AddStop(p, 1, rim);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// A needle pointing right, filling a w x h cell less its margin.
void Needle(cairo_t* cr, double w, double h, uint32_t body, uint32_t rim) {
  const double cy = h / 2;
  Polygon(cr, {{1.5, cy}, {w * 0.35, 1.5}, {w - 1.5, cy}, {w * 0.35, h - 1.5}});
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 1, 0, h - 1);
  AddStop(p, 0, rim);
  AddStop(p, 0.5, 0xFFFFFF);
  AddStop(p, 1, rim);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  Colour(cr, body);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

std::unique_ptr<SheetImage> DrawShots() {
  auto img = std::make_unique<SheetImage>("img/shot.bmp", 256, 64, kKeyShot, kSkyMatte);
  cairo_t* cr = img->BeginCell({0, 0, 8, 8});
  Orb(cr, 4, 4, 3, 0xFF40C0, 0x900050);
  img->EndCell();
  // Needle colour cells 0..2 and the extra needle at 160.
  const uint32_t needle[4][2] = {{0xFF3060, 0xA00020}, {0x6050FF, 0x200090}, {0xFFA000, 0xA03000}, {0xE040FF, 0x600080}};
  const int needleX[4] = {0, 16, 32, 160};
  for (int i = 0; i < 4; ++i) {
    cr = img->BeginCell({needleX[i], 8, 16, 8});
    Needle(cr, 16, 8, needle[i][0], needle[i][1]);
    img->EndCell();
  }
  cr = img->BeginCell({0, 16, 16, 16});
  Orb(cr, 8, 8, 6.5, 0xFF3030, 0x800010);
  img->EndCell();
  // Player shot: twin bolts flying up. The game draws them at little more than a third of
  // their opacity, so they are dark and saturated to stand out from the pale sky even then
  // (pale colours would all but vanish): deep blue in a near-black rim, apart from the warm
  // colours of the enemy shots.
  cr = img->BeginCell({16, 16, 32, 16});
  for (double x : {9.0, 23.0}) {
    Polygon(cr, {{x, 1.5}, {x + 4, 5}, {x + 4, 14.5}, {x - 4, 14.5}, {x - 4, 5}});
    FillLinear(cr, 0, 1.5, 0x2848F0, 0, 14.5, 0x0C1480, true);
    Colour(cr, 0x080828);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  }
  img->EndCell();
  // Large arrowhead shot pointing right.
  cr = img->BeginCell({0, 32, 24, 18});
  Polygon(cr, {{1.5, 2}, {22.5, 9}, {1.5, 16}, {7, 9}});
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 24, 0);
  AddStop(p, 0, 0xC02000);
  AddStop(p, 0.6, 0xFFB030);
  AddStop(p, 1, 0xFFFFF0);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  Colour(cr, 0x801000);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  img->EndCell();
  // Homing shot: a small missile with a violet glow, nose to the right.
  cr = img->BeginCell({28, 34, 23, 14});
  Polygon(cr, {{1.5, 7}, {6, 3}, {8, 7}, {6, 11}});
  FillLinear(cr, 0, 0, 0xFF80FF, 8, 0, 0xFFFFFF);
  RoundRect(cr, 6, 4, 13, 6, 3);
  FillStroke(cr, 0xF0E0FF, 0x500070, 1);
  Polygon(cr, {{17, 4}, {21.5, 7}, {17, 10}});
  FillStroke(cr, 0xD030FF, 0x500070, 1);
  img->EndCell();
  return img;
}

std::unique_ptr<SheetImage> DrawExplosions() {
  auto img = std::make_unique<SheetImage>("img/bakuha1.bmp", 256, 256, kKeyBlack, Rgb{255, 240, 200});
  // Grade rows: exact gold, near sky blue, miss dull rose.
  const uint32_t body[3] = {0xFFC020, 0x40B0FF, 0xD06070};
  const uint32_t edge[3] = {0xFF6000, 0x2050E0, 0x804050};
  for (int g = 0; g < 3; ++g) {
    for (int f = 0; f < 8; ++f) {
      cairo_t* cr = img->BeginCell({32 * f, 32 * g, 32, 32});
      const double t = f / 7.0;
      const double r = 5 + 10 * std::sqrt(t);
      // Star burst that grows; from the middle of the animation its core burns out into a
      // widening hole, so the last frames are a thin, breaking ring.
      const int rays = 8;
      cairo_new_path(cr);
      for (int i = 0; i < rays * 2; ++i) {
        const double a = i * M_PI / rays + f * 0.15;
        const double rr = (i % 2 == 0) ? r + 2 : r * (0.55 + 0.2 * t);
        cairo_line_to(cr, 16 + rr * std::cos(a), 16 + rr * std::sin(a));
      }
      cairo_close_path(cr);
      const double hole = f >= 3 ? r * (0.25 + 0.7 * (t - 3 / 7.0)) : 0;
      if (hole > 0) {
        Circle(cr, 16, 16, hole);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      }
      cairo_pattern_t* p = cairo_pattern_create_radial(16, 16, hole, 16, 16, r + 2);
      AddStop(p, 0, 0xFFFFFF);
      AddStop(p, 0.45 - 0.3 * t, 0xFFFFFF);
      AddStop(p, 0.75, body[g]);
      AddStop(p, 1, edge[g]);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      img->EndCell();
    }
    // Spark: a bright streak with a coloured tail.
    cairo_t* cr = img->BeginCell({0, 96 + 6 * g, 24, 6});
    Polygon(cr, {{1, 3}, {20, 1.2}, {23, 3}, {20, 4.8}});
    FillLinear(cr, 1, 0, edge[g], 23, 0, 0xFFFFFF);
    img->EndCell();
    // Ring.
    cr = img->BeginCell({24 + 64 * g, 96, 64, 64});
    Circle(cr, 32, 32, 27);
    Circle(cr, 32, 32, 21);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 21, 32, 32, 27);
    AddStop(p, 0, body[g]);
    AddStop(p, 0.5, 0xFFFFFF);
    AddStop(p, 1, body[g]);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    img->EndCell();
  }
  // Debris dots, brightest first; drawn additively, so they carry no margin.
  const uint32_t dot[4] = {0xFFFFFF, 0xFFF0C0, 0xFFD080, 0xC09060};
  for (int i = 0; i < 4; ++i) {
    cairo_t* cr = img->BeginCell({2 * i, 114, 2, 2, kJoinAll});
    Colour(cr, dot[i]);
    cairo_paint(cr);
    img->EndCell();
  }
  // Shot emitter: a violet lens with a white core.
  cairo_t* cr = img->BeginCell({0, 118, 14, 14});
  Circle(cr, 7, 7, 5.5);
  FillRadial(cr, 6, 6, 6, 0xFFFFFF, 0x8040E0, true);
  Colour(cr, 0x300860);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  img->EndCell();
  return img;
}

namespace {

void ClockFace(cairo_t* cr, double cx, double cy, double r, double hourAngle, double minuteAngle) {
  Circle(cr, cx, cy, r);
  FillRadial(cr, cx - r * 0.3, cy - r * 0.3, r * 1.3, 0xFFFFFF, 0xD0ECFF, true);
  Colour(cr, 0x143C8C);
  cairo_set_line_width(cr, r * 0.18);
  cairo_stroke(cr);
  cairo_set_line_width(cr, std::max(1.0, r * 0.08));
  for (int i = 0; i < 12; i += 3) {
    const double a = i * M_PI / 6;
    cairo_move_to(cr, cx + r * 0.62 * std::sin(a), cy - r * 0.62 * std::cos(a));
    cairo_line_to(cr, cx + r * 0.8 * std::sin(a), cy - r * 0.8 * std::cos(a));
  }
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, r * 0.14);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx + r * 0.45 * std::sin(hourAngle), cy - r * 0.45 * std::cos(hourAngle));
  cairo_stroke(cr);
  Colour(cr, 0xE02040);
  cairo_set_line_width(cr, r * 0.09);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx + r * 0.7 * std::sin(minuteAngle), cy - r * 0.7 * std::cos(minuteAngle));
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

}  // namespace

std::unique_ptr<SheetImage> DrawObjects() {
  auto img = std::make_unique<SheetImage>("img/object.bmp", 256, 256, kKeyBlack, kSkyMatte);
  // Bracket corners: gold L shapes, each in the corner of the enemy it frames.
  const int corner[4][2] = {{0, 0}, {12, 0}, {0, 12}, {12, 12}};
  for (int i = 0; i < 4; ++i) {
    cairo_t* cr = img->BeginCell({corner[i][0], corner[i][1], 12, 12});
    const bool right = i % 2 == 1, bottom = i >= 2;
    cairo_save(cr);
    cairo_translate(cr, right ? 12 : 0, bottom ? 12 : 0);
    cairo_scale(cr, right ? -1 : 1, bottom ? -1 : 1);
    Polygon(cr, {{1, 1}, {11, 1}, {11, 4.5}, {4.5, 4.5}, {4.5, 11}, {1, 11}});
    cairo_restore(cr);
    FillStroke(cr, 0xFFE030, 0x804000, 1);
    img->EndCell();
  }
  cairo_t* cr = img->BeginCell({24, 0, 7, 7});
  Circle(cr, 3.5, 3.5, 2.6);
  FillStroke(cr, 0xFFF080, 0x804000, 0.8);
  img->EndCell();
  cr = img->BeginCell({0, 24, 32, 32});
  ClockFace(cr, 16, 16, 13.5, 10 * M_PI / 6, 0);
  img->EndCell();
  // Point item: a gold medal with a star.
  cr = img->BeginCell({32, 24, 24, 24});
  Circle(cr, 12, 12, 9.5);
  FillRadial(cr, 9, 9, 12, 0xFFFFE0, 0xF0A020, true);
  Colour(cr, 0x805000);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  cairo_new_path(cr);
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double r = i % 2 == 0 ? 6.5 : 2.8;
    cairo_line_to(cr, 12 + r * std::cos(a), 12 + r * std::sin(a));
  }
  cairo_close_path(cr);
  Colour(cr, 0xFFFFF0);
  cairo_fill(cr);
  img->EndCell();
  // Menu cursor: a cyan arrow pointing right.
  cr = img->BeginCell({0, 56, 16, 16});
  Polygon(cr, {{2, 2}, {14, 8}, {2, 14}, {5, 8}});
  FillStroke(cr, 0x60F0FF, 0x103870, 1.2);
  img->EndCell();
  // Gauge: top cap, bar (green at the top, amber, red at the bottom), frame and pointer.
  cr = img->BeginCell({228, 31, 28, 15});
  RoundRect(cr, 1.5, 1.5, 25, 12, 5);
  FillLinear(cr, 0, 1, 0x80C8FF, 0, 14, 0x2050B0, true);
  Colour(cr, 0xD8F0FF);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  paint::TextStyle capStyle;
  capStyle.size = 8;
  capStyle.condensed = true;
  capStyle.fill = 0xFFFFFF;
  Text(cr, "LIFE", 14, 7.5, 22, capStyle);
  img->EndCell();
  cr = img->BeginCell({216, 56, 15, 200});
  cairo_rectangle(cr, 0, 0, 15, 200);
  {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 200);
    AddStop(p, 0, 0x60FF90);
    AddStop(p, 0.45, 0xC0FF40);
    AddStop(p, 0.75, 0xFFB020);
    AddStop(p, 1, 0xFF3040);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  for (int y = 10; y < 200; y += 10) {  // scale ticks
    cairo_rectangle(cr, 0, y, 15, 1);
  }
  Colour(cr, 0xFFFFFF, 0.35);
  cairo_fill(cr);
  cairo_rectangle(cr, 3, 0, 3, 200);
  Colour(cr, 0xFFFFFF, 0.45);
  cairo_fill(cr);
  img->EndCell();
  cr = img->BeginCell({231, 46, 25, 210});
  cairo_rectangle(cr, 1, 1, 23, 208);
  cairo_rectangle(cr, 5, 5, 15, 200);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  FillLinear(cr, 1, 0, 0x6090E0, 24, 0, 0x183878);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_rectangle(cr, 4.5, 4.5, 16, 201);
  Colour(cr, 0xD8F0FF);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  img->EndCell();
  cr = img->BeginCell({208, 251, 8, 5});
  Polygon(cr, {{1, 1}, {7, 2.5}, {1, 4}});
  Colour(cr, 0xFFF060);
  cairo_fill(cr);
  img->EndCell();
  return img;
}

std::unique_ptr<SheetImage> DrawNumbers() {
  auto img = std::make_unique<SheetImage>("img/number.bmp", 256, 32, kKeyNumber, kSkyMatte);
  paint::TextStyle style;
  style.size = 17;
  style.condensed = true;
  style.fill = 0xFFFFFF;
  style.fill2 = 0xFFE060;
  style.outline = 0x101848;
  style.outlineWidth = 1.6;
  for (int d = 0; d <= 10; ++d) {
    cairo_t* cr = img->BeginCell({12 * d, 0, 12, 18});
    const char* text = d < 10 ? nullptr : "\xC3\x97";
    char digit[2] = {char('0' + d), 0};
    if (!text) text = digit;
    Text(cr, text, 6, 9.5, 9.2, style);
    img->EndCell();
  }
  return img;
}
