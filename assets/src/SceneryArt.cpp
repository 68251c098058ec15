// Side panels, sky pictures, the ground texture, the stage-clear picture and frame, and the
// difficulty previews.
#include <cmath>
#include <cstdint>

#include "Art.h"
#include "Paint.h"

using namespace paint;

namespace {

cairo_surface_t* NewCanvas(int w, int h) { return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h); }

// Small deterministic noise for texture detail (same every run).
uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

double Noise01(int a, int b) { return (Hash(uint32_t(a) * 73856093U ^ uint32_t(b) * 19349663U) & 0xFFFF) / 65535.0; }

// One side panel, 128 x 480 in screen terms. inner: x of the edge facing the play field.
void Panel(cairo_t* cr, bool left) {
  cairo_rectangle(cr, 0, 0, 128, 480);
  FillLinear(cr, 0, 0, 0x1C3C8C, 0, 480, 0x0C1E5A);
  // Faint diagonal weave.
  Colour(cr, 0x2A4EA0, 0.35);
  cairo_set_line_width(cr, 1);
  for (int i = -480; i < 128; i += 12) {
    cairo_move_to(cr, i, 480);
    cairo_line_to(cr, i + 480, 0);
  }
  cairo_stroke(cr);
  // Bevel along the play-field edge and a thin bright rule.
  const double inner = left ? 128 : 0;
  const double dir = left ? -1 : 1;
  cairo_rectangle(cr, left ? 116 : 0, 0, 12, 480);
  FillLinear(cr, inner, 0, 0x081448, inner + dir * 12, 0, 0x2C58B8);
  cairo_rectangle(cr, left ? 113 : 14, 0, 1, 480);
  Colour(cr, 0x78B8FF, 0.8);
  cairo_fill(cr);
  // Rivets.
  for (int y = 20; y < 480; y += 40) {
    Circle(cr, left ? 106 : 22, y, 2);
    Colour(cr, 0x5C88D8);
    cairo_fill(cr);
  }
  TextStyle s;
  s.size = 12;
  s.fill = 0xB0D8FF;
  s.outline = 0x081448;
  s.outlineWidth = 1.5;
  if (left) {
    // The gauge sits at x 53..84, y 241..466: keep that plain, label it above.
    RoundRect(cr, 44, 216, 50, 260, 8);
    Colour(cr, 0x0A1850);
    cairo_fill_preserve(cr);
    Colour(cr, 0x4878D0);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Text(cr, "GAUGE", 69, 227, 44, s);
  } else {
    // A large faint clock emblem: the game's timing theme.
    Circle(cr, 62, 150, 40);
    Colour(cr, 0x2C58B8, 0.6);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    for (int i = 0; i < 12; ++i) {
      const double a = i * M_PI / 6;
      cairo_move_to(cr, 62 + 30 * std::sin(a), 150 - 30 * std::cos(a));
      cairo_line_to(cr, 62 + 36 * std::sin(a), 150 - 36 * std::cos(a));
    }
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_move_to(cr, 62, 150);
    cairo_line_to(cr, 62, 124);
    cairo_move_to(cr, 62, 150);
    cairo_line_to(cr, 82, 160);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    TextStyle t = s;
    t.size = 15;
    Text(cr, "TIME", 62, 215, 100, t);
    t.size = 10;
    t.fill = 0x88B0E8;
    Text(cr, "shoot on", 62, 240, 100, t);
    Text(cr, "the second", 62, 254, 100, t);
  }
}

}  // namespace

std::vector<std::unique_ptr<SheetImage>> DrawSidePanels() {
  auto w1 = std::make_unique<SheetImage>("img/back_w1.bmp", 256, 256, kKeyBlack, kPanelMatte);
  auto w2 = std::make_unique<SheetImage>("img/back_w2.bmp", 256, 256, kKeyBlack, kPanelMatte);
  for (int side = 0; side < 2; ++side) {
    cairo_surface_t* canvas = NewCanvas(128, 480);
    cairo_t* cr = cairo_create(canvas);
    Panel(cr, side == 0);
    cairo_destroy(cr);
    // The panels tile the screen's side strips: art runs to every edge.
    PastePiece(*w1, canvas, 0, 0, {128 * side, 0, 128, 256, kJoinAll});
    PastePiece(*w2, canvas, 0, 256, {128 * side, 0, 128, 224, kJoinAll});
    cairo_surface_destroy(canvas);
  }
  std::vector<std::unique_ptr<SheetImage>> out;
  out.push_back(std::move(w1));
  out.push_back(std::move(w2));
  return out;
}

std::vector<std::unique_ptr<SheetImage>> DrawSky() {
  // One 640x256 picture: back1 | back2 | back3 across the screen. The play-field layout shows
  // its rows 64..255 for x 128..511, shifted up to screen y 0..191; the ground meets it
  // around screen y 135..170, so from picture row 199 (screen 135) down it is the fog colour.
  cairo_surface_t* canvas = NewCanvas(640, 256);
  cairo_t* cr = cairo_create(canvas);
  cairo_rectangle(cr, 0, 0, 640, 256);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 256);
  AddStop(p, 0, 0x78C8F8);
  AddStop(p, 0.45, 0xA8E8FF);
  AddStop(p, 0.68, 0xC0FFFF);
  AddStop(p, 0.77, 0xE0FFFF);
  AddStop(p, 1, 0xE0FFFF);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Distant pale mountains, fading into the fog at their feet.
  for (int layer = 0; layer < 2; ++layer) {
    cairo_move_to(cr, 0, 200);
    for (int x = 0; x <= 640; x += 8) {
      const double h = 168 - layer * 10 + 14 * std::sin(x * 0.013 + layer * 2) + 9 * std::sin(x * 0.041 + 1 + layer);
      cairo_line_to(cr, x, h);
    }
    cairo_line_to(cr, 640, 200);
    cairo_close_path(cr);
    cairo_pattern_t* m = cairo_pattern_create_linear(0, 140, 0, 198);
    AddStop(m, 0, layer == 0 ? 0x98D0EC : 0xB0DCF0);
    AddStop(m, 1, 0xE0FFFF);
    cairo_set_source(cr, m);
    cairo_fill(cr);
    cairo_pattern_destroy(m);
  }
  // Soft clouds.
  for (int i = 0; i < 14; ++i) {
    const double cx = Noise01(i, 1) * 640, cy = 70 + Noise01(i, 2) * 90, w = 40 + Noise01(i, 3) * 60;
    for (int k = 0; k < 4; ++k) {
      cairo_save(cr);
      cairo_translate(cr, cx + (k - 1.5) * w * 0.3, cy - (k % 2) * 6);
      cairo_scale(cr, w * 0.35, 9 + (k % 2) * 4);
      Circle(cr, 0, 0, 1);
      cairo_restore(cr);
      Colour(cr, 0xF8FFFF, 0.55);
      cairo_fill(cr);
    }
  }
  cairo_rectangle(cr, 0, 198, 640, 58);
  Colour(cr, 0xE0FFFF);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::vector<std::unique_ptr<SheetImage>> out;
  const char* files[3] = {"img/back1.jpg", "img/back2.jpg", "img/back3.jpg"};
  for (int i = 0; i < 3; ++i) {
    auto img = std::make_unique<SheetImage>(files[i], 256, 256, kKeyBlack, Rgb{224, 255, 255});
    cairo_t* c = img->cr();
    cairo_set_source_surface(c, canvas, -256.0 * i, 0);
    cairo_paint(c);
    if (i == 2) {  // only 128 columns of the wide picture; the rest stays fog-coloured sky
      cairo_rectangle(c, 128, 0, 128, 256);
      cairo_pattern_t* q = cairo_pattern_create_linear(0, 0, 0, 256);
      AddStop(q, 0, 0x78C8F8);
      AddStop(q, 0.68, 0xC0FFFF);
      AddStop(q, 0.77, 0xE0FFFF);
      cairo_set_source(c, q);
      cairo_fill(c);
      cairo_pattern_destroy(q);
    }
    out.push_back(std::move(img));
  }
  cairo_surface_destroy(canvas);
  return out;
}

std::unique_ptr<SheetImage> DrawGroundTexture() {
  // Patchwork fields and lanes, seamless in both directions (the mesh repeats it along z).
  auto img = std::make_unique<SheetImage>("img/ground.bmp", 256, 256, kKeyBlack, Rgb{120, 190, 140});
  cairo_t* cr = img->cr();
  const uint32_t fields[6] = {0x8CCB8C, 0xA8D890, 0x78B898, 0xC8DC98, 0x98C8B0, 0xB0E0A8};
  for (int by = 0; by < 4; ++by) {
    for (int bx = 0; bx < 4; ++bx) {
      const uint32_t c = fields[Hash(uint32_t(bx * 7 + by * 13)) % 6];
      cairo_rectangle(cr, bx * 64, by * 64, 64, 64);
      Colour(cr, c);
      cairo_fill(cr);
      // Furrows.
      const bool across = Hash(uint32_t(bx + by * 4 + 99)) & 1;
      Colour(cr, 0x000000, 0.07);
      cairo_set_line_width(cr, 2);
      for (int k = 4; k < 64; k += 8) {
        if (across) {
          cairo_move_to(cr, bx * 64, by * 64 + k);
          cairo_line_to(cr, bx * 64 + 64, by * 64 + k);
        } else {
          cairo_move_to(cr, bx * 64 + k, by * 64);
          cairo_line_to(cr, bx * 64 + k, by * 64 + 64);
        }
      }
      cairo_stroke(cr);
    }
  }
  // Lanes on the field borders (the borders at 0 and 256 meet when tiled).
  Colour(cr, 0xE8E4C8);
  for (int k = 0; k <= 256; k += 64) {
    cairo_rectangle(cr, k - 2, 0, 4, 256);
    cairo_rectangle(cr, 0, k - 2, 256, 4);
  }
  cairo_fill(cr);
  // A few farm houses.
  for (int i = 0; i < 10; ++i) {
    const double x = 8 + (Hash(uint32_t(i * 31 + 5)) % 46) + 64 * (i % 4);
    const double y = 8 + (Hash(uint32_t(i * 17 + 3)) % 46) + 64 * ((i / 4) % 4);
    cairo_rectangle(cr, x, y, 8, 6);
    Colour(cr, i % 2 ? 0xF09070 : 0xF0F0F0);
    cairo_fill(cr);
  }
  return img;
}

namespace {

// The 500x304 picture of the stage-clear screen: a deep-blue board with a fine grid and a
// light sweep, on which the results are written.
cairo_surface_t* ClearPicture() {
  cairo_surface_t* canvas = NewCanvas(500, 304);
  cairo_t* cr = cairo_create(canvas);
  RoundRect(cr, 0, 0, 500, 304, 18);
  FillLinear(cr, 0, 0, 0x1A3C90, 0, 304, 0x0A1A50);
  Colour(cr, 0x3060C0, 0.35);
  cairo_set_line_width(cr, 1);
  for (int x = 10; x < 500; x += 20) {
    cairo_move_to(cr, x + 0.5, 8);
    cairo_line_to(cr, x + 0.5, 296);
  }
  for (int y = 12; y < 304; y += 20) {
    cairo_move_to(cr, 8, y + 0.5);
    cairo_line_to(cr, 492, y + 0.5);
  }
  cairo_stroke(cr);
  // A wide sweep like a clock hand's path.
  cairo_move_to(cr, 250, 320);
  cairo_arc(cr, 250, 320, 300, -2.6, -1.9);
  cairo_close_path(cr);
  Colour(cr, 0x80C0FF, 0.12);
  cairo_fill(cr);
  RoundRect(cr, 3, 3, 494, 298, 16);
  Colour(cr, 0x80C8FF);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_destroy(cr);
  return canvas;
}

// The 640x480 frame around the stage-clear screen (bands 100 px wide), from which the
// corners and edge tiles are cut. Its pattern repeats every 40 px along each band.
cairo_surface_t* ClearFrame() {
  cairo_surface_t* canvas = NewCanvas(640, 480);
  cairo_t* cr = cairo_create(canvas);
  cairo_rectangle(cr, 0, 0, 640, 480);
  cairo_rectangle(cr, 100, 100, 440, 280);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  Colour(cr, 0x14307C);
  cairo_fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  // Diamonds every 40 px along the bands, centred on 20 + 40k.
  Colour(cr, 0x2850A8);
  for (int x = 20; x < 640; x += 40) {
    for (double y : {30.0, 450.0}) Polygon(cr, {{double(x), y - 8}, {x + 8.0, y}, {double(x), y + 8}, {x - 8.0, y}});
  }
  for (int y = 20; y < 480; y += 40) {
    for (double x : {30.0, 610.0}) Polygon(cr, {{x, y - 8.0}, {x + 8, double(y)}, {x, y + 8.0}, {x - 8, double(y)}});
  }
  cairo_fill(cr);
  // Inner rules.
  cairo_rectangle(cr, 88, 88, 464, 304);
  Colour(cr, 0x80C8FF);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_rectangle(cr, 80, 80, 480, 320);
  Colour(cr, 0x4070C8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_destroy(cr);
  return canvas;
}

}  // namespace

std::vector<std::unique_ptr<SheetImage>> DrawClearPictures() {
  const Rgb matte{20, 48, 124};
  std::vector<std::unique_ptr<SheetImage>> out;
  const char* files[4] = {"img/clear_b1.bmp", "img/clear_b2.bmp", "img/clear_b3.bmp", "img/clear_b4.bmp"};
  for (const char* f : files) out.push_back(std::make_unique<SheetImage>(f, 256, 256, kKeyBlack, matte));
  cairo_surface_t* pic = ClearPicture();
  PastePiece(*out[0], pic, 0, 0, {0, 0, 256, 256, kJoinRight | kJoinBottom});
  PastePiece(*out[1], pic, 256, 0, {0, 0, 244, 256, kJoinLeft | kJoinBottom});
  PastePiece(*out[2], pic, 0, 256, {0, 0, 256, 48, kJoinRight | kJoinTop});
  PastePiece(*out[3], pic, 256, 256, {0, 0, 244, 48, kJoinLeft | kJoinTop});
  cairo_surface_destroy(pic);
  // Frame pieces, each cut where it is placed on screen; tiles join their neighbours.
  cairo_surface_t* frame = ClearFrame();
  PastePiece(*out[2], frame, 0, 0, {0, 48, 100, 100, kJoinAll});       // top-left corner
  PastePiece(*out[2], frame, 540, 0, {140, 48, 100, 100, kJoinAll});   // top-right corner
  PastePiece(*out[2], frame, 100, 0, {100, 48, 40, 100, kJoinAll});    // top edge tile
  PastePiece(*out[2], frame, 0, 100, {0, 148, 100, 40, kJoinAll});     // left edge tile
  PastePiece(*out[2], frame, 540, 100, {140, 148, 100, 40, kJoinAll}); // right edge tile
  PastePiece(*out[3], frame, 0, 380, {0, 48, 100, 100, kJoinAll});     // bottom-left corner
  PastePiece(*out[3], frame, 540, 380, {140, 48, 100, 100, kJoinAll}); // bottom-right corner
  PastePiece(*out[3], frame, 100, 380, {100, 48, 40, 100, kJoinAll});  // bottom edge tile
  cairo_surface_destroy(frame);
  return out;
}

namespace {

// The preview's two pieces span 418 px on screen from x 138, but the right piece would reach
// past the play field's right edge (x 512) over the side panel. The art stops kPreviewWidth px
// from its left edge, which keeps it inside the field while the highlighted entry pushes it
// right: from an offset of 16 px on the menu draws it fully transparent.
constexpr int kPreviewCanvas = 418, kPreviewWidth = 512 - 16 - 138;

// A small scene for a difficulty preview, drawn at (138, 100) on screen.
cairo_surface_t* Preview(int level) {
  cairo_surface_t* canvas = NewCanvas(kPreviewCanvas, 128);
  cairo_t* cr = cairo_create(canvas);
  const double w = kPreviewWidth;
  RoundRect(cr, 2, 2, w - 4, 124, 12);
  FillLinear(cr, 0, 0, 0x9CDCFF, 0, 128, 0xD8FFFF, true);
  Colour(cr, 0x103C98);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_save(cr);
  RoundRect(cr, 4, 4, w - 8, 120, 10);
  cairo_clip(cr);
  // Enemy shots: more and faster-looking with the level.
  const int shots = level == 0 ? 10 : level == 1 ? 36 : 70;
  const uint32_t colours[3] = {0xFF3060, 0x6050FF, 0xFFA000};
  for (int i = 0; i < shots; ++i) {
    const double x = 150 + Noise01(i, level + 10) * (w - 162), y = 10 + Noise01(i, level + 20) * 108;
    Circle(cr, x, y, 3);
    Colour(cr, colours[i % 3]);
    cairo_fill_preserve(cr);
    Colour(cr, 0xFFFFFF);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // Targets: small warm craft markers with their seconds, and the player arrow.
  TextStyle num;
  num.size = 14;
  num.fill = 0xFFFFFF;
  num.fill2 = 0xFFE060;
  num.outline = 0x101848;
  num.outlineWidth = 2;
  const int targets = level == 0 ? 2 : 3;
  for (int i = 0; i < targets; ++i) {
    const double x = 186 + 58 * i, y = 30 + 14 * (i % 2);
    Polygon(cr, {{x - 12, y - 8}, {x + 12, y - 8}, {x, y + 12}});
    FillStroke(cr, level == 2 ? 0xC8C8D0 : 0xFFB060, 0x402010, 1.5);
    const char t[2] = {char('3' + i), 0};
    Text(cr, t, x + 24, y + 10, 0, num);
    if (level == 0) {  // the easy level frames the target on its second
      cairo_rectangle(cr, x - 16, y - 12, 32, 26);
      Colour(cr, 0xFFD020);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
  }
  Polygon(cr, {{252, 92}, {262, 118}, {242, 118}});
  FillStroke(cr, 0xF4FAFF, 0x183050, 1.5);
  cairo_restore(cr);
  // Caption on the left.
  TextStyle s;
  s.size = 15;
  s.fill = 0x0C2C78;
  s.outline = 0xF0FCFF;
  s.outlineWidth = 2;
  const char* lines[3][3] = {{"Gentle fire.", "Brackets mark", "each exact second."},
                             {"Dense fire.", "Read the clock", "and the numbers."},
                             {"Storms of fire", "and your own", "dark twin."}};
  for (int k = 0; k < 3; ++k) TextLeft(cr, lines[level][k], 14, 34 + 26 * k, 136, s);
  cairo_destroy(cr);
  return canvas;
}

}  // namespace

std::vector<std::unique_ptr<SheetImage>> DrawPreviews() {
  std::vector<std::unique_ptr<SheetImage>> out;
  const char* files[3] = {"img/diff_s1.bmp", "img/diff_s3.bmp", "img/diff_s4.bmp"};
  for (int i = 0; i < 3; ++i) {
    auto img = std::make_unique<SheetImage>(files[i], 256, 256, kKeyWhite, kSkyMatte);
    cairo_surface_t* pic = Preview(i);
    // The right piece's first 6 columns lie over the left piece's last 6. Only the right piece
    // carries that art: while the menu dims the preview, art in both would show a darker seam.
    PastePiece(*img, pic, 0, 0, {0, 0, 162, 128, kJoinRight});
    PastePiece(*img, pic, 162, 0, {0, 128, 256, 128, kJoinLeft});
    cairo_surface_destroy(pic);
    out.push_back(std::move(img));
  }
  return out;
}

std::vector<ImageEntry> DrawAllImages() {
  std::vector<ImageEntry> all;
  auto add = [&all](std::unique_ptr<SheetImage> img, bool jpeg = false) { all.push_back({std::move(img), jpeg}); };
  auto addAll = [&add](std::vector<std::unique_ptr<SheetImage>> v, bool jpeg = false) {
    for (auto& img : v) add(std::move(img), jpeg);
  };
  add(DrawPlayer());
  addAll(DrawSidePanels());
  addAll(DrawSky(), true);
  add(DrawObjects());
  add(DrawNumbers());
  add(DrawTitle());
  add(DrawStartMenu());
  add(DrawDifficultyMenu());
  add(DrawExplain());
  add(DrawOther());
  add(DrawWarning());
  add(DrawEnemy1());
  add(DrawEnemy2());
  add(DrawEnemy3());
  addAll(DrawBoss());
  add(DrawShots());
  add(DrawExplosions());
  addAll(DrawFadeSheets());
  addAll(DrawClearText());
  addAll(DrawClearPictures());
  addAll(DrawPreviews());
  add(DrawGroundTexture());
  return all;
}
