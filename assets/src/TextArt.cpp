// Logo, menus, panels of words and the stage-clear lettering.
#include <cmath>
#include <utility>

#include "Art.h"
#include "Paint.h"

using namespace paint;

namespace {

// Deep-blue lettering with a pale rim: reads on the sky, the ground and the panels.
TextStyle MenuStyle(double size) {
  TextStyle s;
  s.size = size;
  s.fill = 0x1040A0;
  s.fill2 = 0x2080E0;
  s.outline = 0xF0FCFF;
  s.outlineWidth = 2.2;
  return s;
}

// Bright lettering with a dark rim, for the dark stage-clear picture and banners.
TextStyle BrightStyle(double size, uint32_t top, uint32_t bottom) {
  TextStyle s;
  s.size = size;
  s.fill = top;
  s.fill2 = bottom;
  s.outline = 0x081838;
  s.outlineWidth = 2.0;
  return s;
}

std::unique_ptr<SheetImage> NewWhiteKeyed(const char* file, int w, int h) {
  return std::make_unique<SheetImage>(file, w, h, kKeyWhite, kSkyMatte);
}

void ClockO(cairo_t* cr, double cx, double cy, double r) {
  Circle(cr, cx, cy, r);
  FillRadial(cr, cx - r * 0.3, cy - r * 0.3, r * 1.2, 0xFFFFFF, 0xB8E8FF, true);
  Colour(cr, 0x0C2C78);
  cairo_set_line_width(cr, r * 0.3);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, r * 0.16);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx, cy - r * 0.55);
  cairo_stroke(cr);
  Colour(cr, 0xE02040);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx + r * 0.45, cy + r * 0.2);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

}  // namespace

std::unique_ptr<SheetImage> DrawTitle() {
  auto img = NewWhiteKeyed("img/title.bmp", 256, 256);
  // The logo is one 356x84 picture in screen terms: the left piece shows its rows 4..83 at
  // x 0..255, the right piece (drawn 4 px higher) its rows 0..79 at x 256..355.
  cairo_surface_t* logo = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 356, 84);
  cairo_t* cr = cairo_create(logo);
  const char* parts[] = {"Pellm", "r"};
  TextStyle s;
  s.size = 62;
  s.fill = 0xFFFFFF;
  s.fill2 = 0x70E0FF;
  s.outline = 0x0C2C78;
  s.outlineWidth = 4;
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 62);
  cairo_text_extents_t e1, e2;
  cairo_text_extents(cr, parts[0], &e1);
  cairo_text_extents(cr, parts[1], &e2);
  const double r = 17;  // the two o's are clock faces
  const double total = e1.x_advance + 4 * r + 10 + e2.x_advance;
  const double scale = std::min(1.0, 340 / total);
  cairo_translate(cr, 178 - total * scale / 2, 0);
  cairo_scale(cr, scale, 1);
  const double cy = 44;
  TextLeft(cr, parts[0], 0, cy, 0, s);
  ClockO(cr, e1.x_advance + r + 2, cy + 6, r);
  ClockO(cr, e1.x_advance + 3 * r + 7, cy + 6, r);
  TextLeft(cr, parts[1], e1.x_advance + 4 * r + 10, cy, 0, s);
  // A sweep line under the word, like a clock hand's trail.
  cairo_move_to(cr, 8, 76);
  cairo_curve_to(cr, 120, 70, 240, 82, total - 4, 70);
  Colour(cr, 0xE02040);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_destroy(cr);
  PastePiece(*img, logo, 0, 4, {0, 0, 256, 80, kJoinRight});
  PastePiece(*img, logo, 256, 0, {0, 76, 100, 80, kJoinLeft});
  cairo_surface_destroy(logo);
  cr = img->BeginCell({0, 224, 154, 32});
  TextStyle small = MenuStyle(13);
  small.outlineWidth = 1.6;
  Text(cr, "Z: choose   \xE2\x86\x91\xE2\x86\x93: move", 77, 16, 146, small);
  img->EndCell();
  return img;
}

std::unique_ptr<SheetImage> DrawStartMenu() {
  auto img = NewWhiteKeyed("img/startmenu.bmp", 256, 256);
  const struct {
    int y;
    const char* text;
  } entries[] = {{0, "START"}, {144, "QUIT"}};
  for (const auto& e : entries) {
    cairo_t* cr = img->BeginCell({0, e.y, 160, 48});
    Text(cr, e.text, 80, 24, 150, MenuStyle(30));
    img->EndCell();
  }
  return img;
}

std::unique_ptr<SheetImage> DrawDifficultyMenu() {
  auto img = NewWhiteKeyed("img/diffmenu.bmp", 256, 256);
  const struct {
    int y;
    const char* text;
  } entries[] = {{0, "EASY"}, {96, "HARD"}, {144, "EXTREME"}, {192, "LEVEL"}};
  for (const auto& e : entries) {
    cairo_t* cr = img->BeginCell({0, e.y, 160, 48});
    Text(cr, e.text, 80, 24, 150, MenuStyle(e.y == 192 ? 32 : 28));
    img->EndCell();
  }
  return img;
}

std::unique_ptr<SheetImage> DrawExplain() {
  auto img = NewWhiteKeyed("img/explain.bmp", 256, 128);
  TextStyle s = MenuStyle(13);
  s.condensed = true;
  s.outlineWidth = 1.8;
  // The opening draws its clock 108 px into the first piece, between the first two pieces on
  // screen: that box stops short of it so the icon stands on the key.
  const struct {
    Cell cell;
    int plateWidth;
    const char* line1;
    const char* line2;
  } pieces[] = {
      {{0, 0, 128, 36}, 105, "Watch the", "clock:"},
      {{128, 0, 96, 36}, 96, "it counts", "seconds."},
      {{0, 36, 128, 36}, 128, "Each enemy shows", "its own second."},
      {{128, 72, 128, 36}, 128, "Shoot it right", "on that second!"},
  };
  s.outlineWidth = 0;
  for (const auto& p : pieces) {
    cairo_t* cr = img->BeginCell(p.cell);
    // A pale plate behind each line pair keeps the words readable over the moving ground.
    const double w = p.plateWidth;
    RoundRect(cr, 1.5, 1.5, w - 3, p.cell.h - 3, 7);
    FillStroke(cr, 0xF4FCFF, 0x2060C0, 1.5);
    // Squeezed to 6 px in from the plate's sides: the stroke reaches 3 px in, then 3 px of plain
    // fill as above and below the lines, so that the ink, which can run a pixel past the
    // letters' advance, still keeps 2 px clear of the stroke.
    Text(cr, p.line1, w / 2, 11.5, w - 12, s);
    Text(cr, p.line2, w / 2, 25, w - 12, s);
    img->EndCell();
  }
  // The pointer toward the demonstration target.
  cairo_t* cr = img->BeginCell({0, 72, 36, 36});
  Polygon(cr, {{5, 12}, {20, 12}, {20, 5}, {32, 18}, {20, 31}, {20, 24}, {5, 24}});
  FillStroke(cr, 0xFFD020, 0x0C2C78, 2);
  img->EndCell();
  return img;
}

std::unique_ptr<SheetImage> DrawOther() {
  auto img = NewWhiteKeyed("img/other.bmp", 64, 64);
  const struct {
    Cell cell;
    const char* text;
    uint32_t top, bottom;
  } words[] = {
      {{0, 0, 40, 16}, "EXACT", 0xFFF8A0, 0xFFB000},
      {{0, 16, 40, 16}, "NEAR", 0xB0F0FF, 0x3090FF},
      {{0, 32, 40, 16}, "MISS", 0xF0D0D8, 0xB05060},
      {{0, 48, 64, 16}, "GAME OVER", 0xFFD0D0, 0xE03040},
  };
  for (const auto& w : words) {
    cairo_t* cr = img->BeginCell(w.cell);
    TextStyle s = BrightStyle(12, w.top, w.bottom);
    s.condensed = true;
    s.outlineWidth = 1.5;
    Text(cr, w.text, w.cell.w / 2.0, 8, w.cell.w - 4, s);
    img->EndCell();
  }
  return img;
}

std::unique_ptr<SheetImage> DrawWarning() {
  auto img = NewWhiteKeyed("img/warning.bmp", 256, 256);
  // Hazard band, 136 px wide, repeating seamlessly: 8 stripes of 17 px.
  cairo_t* cr = img->BeginCell({0, 0, 136, 40, kJoinLeft | kJoinRight});
  cairo_rectangle(cr, 0, 4, 136, 32);
  Colour(cr, 0x301010);
  cairo_fill(cr);
  for (int i = -2; i < 10; ++i) {
    const double x = i * 17;
    Polygon(cr, {{x, 34}, {x + 8.5, 34}, {x + 8.5 + 24, 6}, {x + 24, 6}});
  }
  Colour(cr, 0xFFC020);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 4, 136, 2);
  cairo_rectangle(cr, 0, 34, 136, 2);
  Colour(cr, 0xFF3030);
  cairo_fill(cr);
  img->EndCell();
  TextStyle s = BrightStyle(26, 0xFFF0F0, 0xFF2030);
  s.outline = 0x300008;
  s.outlineWidth = 2.5;
  const struct {
    Cell cell;
    const char* text;
  } words[] = {{{0, 40, 72, 32}, "BOSS"}, {{0, 72, 140, 32}, "DARK TWIN"}, {{0, 104, 192, 32}, "APPROACHING"}};
  for (const auto& w : words) {
    cr = img->BeginCell(w.cell);
    Text(cr, w.text, w.cell.w / 2.0, 16, w.cell.w - 6, s);
    img->EndCell();
  }
  return img;
}

std::vector<std::unique_ptr<SheetImage>> DrawFadeSheets() {
  // Stretched fourfold over the screen: uniform, no margin, no key pixel.
  std::vector<std::unique_ptr<SheetImage>> out;
  out.push_back(std::make_unique<SheetImage>("img/f_white.bmp", 256, 128, kKeyBlack, Rgb{255, 255, 255}));
  out.push_back(std::make_unique<SheetImage>("img/f_black.bmp", 256, 128, kKeyWhite, Rgb{0, 0, 0}));
  const uint32_t fill[2] = {0xFFFFFF, 0x000000};
  for (int i = 0; i < 2; ++i) {
    cairo_t* cr = out[i]->BeginCell({0, 0, 256, 128, kJoinAll});
    Colour(cr, fill[i]);
    cairo_paint(cr);
    out[i]->EndCell();
  }
  return out;
}

std::vector<std::unique_ptr<SheetImage>> DrawClearText() {
  auto a = std::make_unique<SheetImage>("img/clear_1.bmp", 256, 256, kKeyNumber, kPanelMatte);
  auto b = std::make_unique<SheetImage>("img/clear_2.bmp", 256, 256, kKeyNumber, kPanelMatte);
  // Banner: one 340x56 picture, 256 on the left sheet and 84 on the right.
  cairo_surface_t* banner = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 340, 56);
  cairo_t* cr = cairo_create(banner);
  RoundRect(cr, 2, 4, 336, 48, 14);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 4, 0, 52);
  AddStop(p, 0, 0xFFE070);
  AddStop(p, 0.5, 0xFFA020);
  AddStop(p, 1, 0xE06010);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  Colour(cr, 0x602000);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  TextStyle bs = BrightStyle(34, 0xFFFFFF, 0xFFF0C0);
  bs.outline = 0x602000;
  bs.outlineWidth = 3;
  Text(cr, "ON TIME!", 170, 28, 300, bs);
  cairo_destroy(cr);
  PastePiece(*a, banner, 0, 0, {0, 0, 256, 56, kJoinRight});
  PastePiece(*b, banner, 256, 0, {0, 0, 84, 56, kJoinLeft});
  cairo_surface_destroy(banner);
  // Big digits and rank letters.
  TextStyle ds = BrightStyle(36, 0xFFFFFF, 0x80E0FF);
  ds.condensed = true;
  for (int d = 0; d < 10; ++d) {
    cr = a->BeginCell({24 * d, 58, 24, 38});
    const char text[2] = {char('0' + d), 0};
    Text(cr, text, 12, 19.5, 20, ds);
    a->EndCell();
  }
  const char* ranks[] = {"S", "A", "B", "C", "+"};
  const uint32_t rankTop[] = {0xFFFFC0, 0xFFE0F0, 0xD0FFE0, 0xE0E8FF, 0xFFFFC0};
  const uint32_t rankBottom[] = {0xFFB000, 0xFF5090, 0x30C060, 0x7080D0, 0xFFB000};
  for (int r = 0; r < 5; ++r) {
    cr = a->BeginCell({34 * r, 96, 34, 40});
    Text(cr, ranks[r], 17, 20.5, 30, BrightStyle(38, rankTop[r], rankBottom[r]));
    a->EndCell();
  }
  TextStyle ls = BrightStyle(20, 0xFFFFFF, 0xA8E8FF);
  for (const auto& h : {std::pair{Cell{0, 136, 80, 40}, "STAGE"}, std::pair{Cell{80, 136, 82, 40}, "CLEAR"}}) {
    cr = a->BeginCell(h.first);
    Text(cr, h.second, h.first.w / 2.0, 20, h.first.w - 6, ls);
    a->EndCell();
  }
  // The result lines' labels are all drawn at x 180 on screen: one face and one size, never
  // squeezed, the ink of each starting kLabelInk px into its cell so that they line up. The
  // size is the largest at which every label fits its cell. The items label spans two sheets
  // (51 px on the left one, 21 px on the right): the word, then a small point-item medal.
  constexpr double kLabelInk = 3;
  const struct {
    SheetImage* sheet;
    Cell cell;
    const char* text;
  } labels[] = {{nullptr, {0, 0, 72, 40}, "ITEMS"},
                {b.get(), {22, 136, 74, 40}, "DAMAGE"},
                {a.get(), {0, 180, 80, 40}, "SCORE"},
                {a.get(), {80, 180, 80, 40}, "RANK"}};
  TextStyle rs = BrightStyle(20, 0xFFFFFF, 0xA8E8FF);
  rs.condensed = true;
  rs.outlineWidth = 1.5;
  auto fits = [&] {
    for (const auto& l : labels) {
      if (kLabelInk + TextInkWidth(a->cr(), l.text, rs) > l.cell.w - 2) return false;
    }
    return true;
  };
  while (rs.size > 10 && !fits()) rs.size -= 0.5;
  cairo_surface_t* items = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 72, 40);
  for (const auto& l : labels) {
    cr = l.sheet ? l.sheet->BeginCell(l.cell) : cairo_create(items);
    TextFromInk(cr, l.text, kLabelInk, 20, rs);
    if (l.sheet) l.sheet->EndCell();
    else cairo_destroy(cr);
  }
  cr = cairo_create(items);
  const double medalR = 6.5, medalX = kLabelInk + TextInkWidth(cr, "ITEMS", rs) + 2 + medalR;
  Circle(cr, medalX, 20, medalR);
  FillRadial(cr, medalX - 2, 18, medalR * 1.3, 0xFFFFE0, 0xF0A020, true);
  Colour(cr, 0x081838);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_destroy(cr);
  PastePiece(*a, items, 0, 0, {205, 136, 51, 40, kJoinRight});
  PastePiece(*b, items, 51, 0, {0, 136, 21, 40, kJoinLeft});
  cairo_surface_destroy(items);
  std::vector<std::unique_ptr<SheetImage>> out;
  out.push_back(std::move(a));
  out.push_back(std::move(b));
  return out;
}
