// Player ship, enemy craft and the large boss.
#include <cmath>

#include "Art.h"
#include "Paint.h"

using namespace paint;

namespace {

struct ShipScheme {
  uint32_t hull, hullShade, trim, canopy, outline, flame;
};

const ShipScheme kPlayerScheme{0xF4FAFF, 0xB8D4E8, 0x30C8F0, 0x1A78D0, 0x183050, 0x9FF4FF};
const ShipScheme kTwinScheme{0xE8E0F0, 0xA898B8, 0xF04060, 0x601830, 0x200818, 0xFF90A0};

// Slim fighter facing up, centred in a 48x48 cell. flame 0..1 scales the exhaust; tilt in pixels
// narrows one wing for a banking look.
void Fighter(cairo_t* cr, const ShipScheme& s, double flame, double tilt) {
  const double cx = 24;
  // Exhaust first so the hull overlaps it.
  if (flame > 0) {
    const double len = 6 + 8 * flame;
    for (double ex : {cx - 5.0, cx + 5.0}) {
      Polygon(cr, {{ex - 2.5, 36}, {ex + 2.5, 36}, {ex, 36 + len}});
      FillLinear(cr, ex, 36, 0xFFFFFF, ex, 36 + len, s.flame);
    }
  }
  // Wings.
  Polygon(cr, {{cx - 3, 18}, {cx - 21 + tilt, 33}, {cx - 20 + tilt, 37}, {cx - 3, 32}});
  FillStroke(cr, s.hullShade, s.outline, 1.2);
  Polygon(cr, {{cx + 3, 18}, {cx + 21 + tilt, 33}, {cx + 20 + tilt, 37}, {cx + 3, 32}});
  FillStroke(cr, s.hullShade, s.outline, 1.2);
  // Wing tip trim.
  Polygon(cr, {{cx - 16 + tilt, 29}, {cx - 21 + tilt, 33}, {cx - 20 + tilt, 37}, {cx - 15 + tilt, 35}});
  Colour(cr, s.trim);
  cairo_fill(cr);
  Polygon(cr, {{cx + 16 + tilt, 29}, {cx + 21 + tilt, 33}, {cx + 20 + tilt, 37}, {cx + 15 + tilt, 35}});
  cairo_fill(cr);
  // Engines.
  for (double ex : {cx - 5.0, cx + 5.0}) {
    RoundRect(cr, ex - 3, 24, 6, 13, 2);
    FillStroke(cr, s.hullShade, s.outline, 1.0);
  }
  // Fuselage.
  MirroredPolygon(cr, cx, {{cx, 3}, {cx - 3, 10}, {cx - 4.5, 22}, {cx - 4, 35}, {cx - 2, 39}});
  cairo_path_t* body = cairo_copy_path(cr);
  FillLinear(cr, cx - 5, 0, s.hullShade, cx + 1, 0, s.hull, true);
  Colour(cr, s.outline);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_path_destroy(body);
  // Nose stripe and canopy.
  Polygon(cr, {{cx - 1, 6}, {cx + 1, 6}, {cx + 1.5, 14}, {cx - 1.5, 14}});
  Colour(cr, s.trim);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, 19);
  cairo_scale(cr, 2.2, 4.2);
  Circle(cr, 0, 0, 1);
  cairo_restore(cr);
  FillLinear(cr, cx, 15, 0xD8F8FF, cx, 23, s.canopy, true);
  Colour(cr, s.outline);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void Shield(cairo_t* cr, double phase) {
  Circle(cr, 24, 24, 19 + 2 * phase);
  cairo_pattern_t* p = cairo_pattern_create_radial(24, 24, 8, 24, 24, 21 + 2 * phase);
  AddStop(p, 0, 0x80F0FF, 0.0);
  AddStop(p, 0.7, 0x80F0FF, 0.25);
  AddStop(p, 1, 0x30D0FF, 0.85);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void HitFlash(cairo_t* cr) {
  cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
  Colour(cr, 0xFF6040, 0.45);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

}  // namespace

std::unique_ptr<SheetImage> DrawPlayer() {
  auto img = std::make_unique<SheetImage>("img/player.bmp", 256, 256, kKeyShip, kSkyMatte);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      if (r == 1 && c == 0) continue;  // not cut by the code
      cairo_t* cr = img->BeginCell({48 * c, 48 * r, 48, 48});
      cairo_push_group(cr);
      const ShipScheme& s = c == 0 ? kTwinScheme : kPlayerScheme;
      const double flame = c == 0 ? 0.6 : 0.35 + 0.3 * c;
      if (r == 2) Shield(cr, c / 3.0);
      if (r == 1) {
        // Entering: full boost; col 2 doubles as the hit pose, col 3 as the falling pose.
        Fighter(cr, s, c == 3 ? 0.1 : 1.0 + 0.1 * c, c == 3 ? 5 : 0);
        if (c == 2) HitFlash(cr);
      } else {
        Fighter(cr, s, flame, 0);
      }
      if (r == 2) {
        cairo_set_line_width(cr, 1.5);
        Colour(cr, 0xE8FFFF, 0.9);
        cairo_arc(cr, 24, 24, 19.5 + 2 * (c / 3.0), -2.4, -0.8);
        cairo_stroke(cr);
      }
      cairo_pop_group_to_source(cr);
      cairo_paint(cr);
      img->EndCell();
    }
  }
  return img;
}

namespace {

// Warm craft facing down (enemies fly down the screen). light: 0..1 running lights;
// mode: 0 idle, 1 moving (thrust above), 2 braking (retro flames below), 3 aiming (eye lit).
void Craft(cairo_t* cr, double light, int mode) {
  const double cx = 24;
  const uint32_t outline = 0x402010;
  if (mode == 1) {
    for (double ex : {cx - 8.0, cx + 8.0}) {
      Polygon(cr, {{ex - 3, 12}, {ex + 3, 12}, {ex, 2}});
      FillLinear(cr, ex, 12, 0xFFFFE0, ex, 2, 0xFFB040);
    }
  }
  if (mode == 2) {
    for (double ex : {cx - 14.0, cx + 14.0}) {
      Polygon(cr, {{ex - 3, 36}, {ex + 3, 36}, {ex, 46}});
      FillLinear(cr, ex, 36, 0xFFFFF0, ex, 46, 0xFFD070);
    }
  }
  // Side pods.
  for (double px : {cx - 14.0, cx + 14.0}) {
    RoundRect(cr, px - 5, 14, 10, 22, 4);
    FillLinear(cr, px - 5, 0, 0xFFD8A0, px + 5, 0, 0xFFF4E0, true);
    Colour(cr, outline);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  // Wing plate joining pods and body.
  MirroredPolygon(cr, cx, {{cx - 14, 18}, {cx - 10, 15}, {cx, 14}});
  Polygon(cr, {{cx - 14, 20}, {cx + 14, 20}, {cx + 14, 28}, {cx - 14, 28}});
  FillStroke(cr, 0xFFC888, outline, 1.0);
  // Body: a rounded hull tapering down to the gun.
  MirroredPolygon(cr, cx, {{cx - 3, 8}, {cx - 9, 14}, {cx - 10, 26}, {cx - 5, 36}, {cx - 2, 42}});
  FillLinear(cr, cx - 10, 0, 0xFFD098, cx + 6, 0, 0xFFF6EA, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
  // Plating line.
  cairo_move_to(cr, cx - 8, 25);
  cairo_line_to(cr, cx + 8, 25);
  Colour(cr, 0xC07030);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Eye: a dark dome, lit red when aiming.
  Circle(cr, cx, 20, 4.2);
  if (mode == 3) FillRadial(cr, cx - 1, 19, 5, 0xFFFFFF, 0xFF2030, true);
  else FillRadial(cr, cx - 1, 19, 5, 0x90A0C0, 0x302850, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Running lights on the pods.
  for (double px : {cx - 14.0, cx + 14.0}) {
    Circle(cr, px, 31, 2);
    Colour(cr, light > 0.5 ? 0xFFF8A0 : 0xB06830);
    cairo_fill(cr);
  }
}

// Slow turret: a round armoured base with a rotating gun ring; frame turns the ring.
void Turret(cairo_t* cr, int frame) {
  const double cx = 24, cy = 24;
  const uint32_t outline = 0x401818;
  // Base octagon.
  cairo_new_path(cr);
  for (int i = 0; i < 8; ++i) {
    const double a = M_PI / 8 + i * M_PI / 4;
    cairo_line_to(cr, cx + 21 * std::cos(a), cy + 21 * std::sin(a));
  }
  cairo_close_path(cr);
  FillLinear(cr, 0, 4, 0xFFC0A8, 0, 44, 0xF08068, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
  // Gun ring with three barrels, turned per frame.
  const double turn = frame * M_PI / 9;
  for (int i = 0; i < 3; ++i) {
    const double a = turn + M_PI / 2 + i * 2 * M_PI / 3;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, a);
    RoundRect(cr, 6, -2.5, 13, 5, 2);
    cairo_restore(cr);
    FillStroke(cr, 0xFFE0D0, outline, 1.0);
  }
  Circle(cr, cx, cy, 9);
  FillRadial(cr, cx - 2, cy - 2, 10, 0xFFF0E8, 0xE86050, true);
  Colour(cr, outline);
  cairo_stroke(cr);
  Circle(cr, cx, cy, 3.5);
  Colour(cr, frame == 1 ? 0xFFF080 : 0x802020);
  cairo_fill(cr);
  // Corner studs.
  for (int i = 0; i < 4; ++i) {
    const double a = M_PI / 4 + i * M_PI / 2;
    Circle(cr, cx + 16 * std::cos(a), cy + 16 * std::sin(a), 1.6);
    Colour(cr, 0x803028);
    cairo_fill(cr);
  }
}

// Rammer: a swept crimson arrowhead pointing down; frame pulses the spines.
void Rammer(cairo_t* cr, int frame, bool carrierFire) {
  const double cx = 24;
  const uint32_t outline = 0x300810;
  const double spread = 2.0 * frame;
  // Rear thrusters (above, since it flies down).
  for (double ex : {cx - 9.0, cx + 9.0}) {
    Polygon(cr, {{ex - 3, 10}, {ex + 3, 10}, {ex, 3 - spread}});
    FillLinear(cr, ex, 10, 0xFFF0F0, ex, 2, 0xFF7088);
  }
  // Spines.
  MirroredPolygon(cr, cx, {{cx - 6, 10}, {cx - 20 - spread, 4}, {cx - 13, 22}, {cx, 16}});
  FillStroke(cr, 0xF07080, outline, 1.1);
  // Hull arrowhead.
  MirroredPolygon(cr, cx, {{cx - 3, 7}, {cx - 12, 14}, {cx - 15, 24}, {cx - 4, 34}, {cx, 45}});
  FillLinear(cr, cx - 14, 0, 0xF86878, cx + 8, 0, 0xFFC8D0, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
  // Ram blade.
  MirroredPolygon(cr, cx, {{cx - 3, 30}, {cx, 45}});
  Polygon(cr, {{cx - 3, 30}, {cx + 3, 30}, {cx, 45}});
  Colour(cr, 0xFFE8E0);
  cairo_fill(cr);
  // Core.
  Circle(cr, cx, 20, 4);
  FillRadial(cr, cx, 20, 5, carrierFire ? 0xFFFFFF : 0xFFE0A0, carrierFire ? 0xFFD040 : 0xC02040);
  if (carrierFire) {
    for (double px : {cx - 12.0, cx + 12.0}) {
      Circle(cr, px, 22, 3);
      FillRadial(cr, px, 22, 3.5, 0xFFFFFF, 0xFF9040);
    }
  }
}

}  // namespace

std::unique_ptr<SheetImage> DrawEnemy1() {
  auto img = std::make_unique<SheetImage>("img/enemy1.bmp", 256, 64, kKeyShip, kSkyMatte);
  const struct {
    double light;
    int mode;
  } cells[5] = {{1, 0}, {0, 0}, {0.6, 1}, {0.6, 2}, {1, 3}};
  for (int c = 0; c < 5; ++c) {
    cairo_t* cr = img->BeginCell({48 * c, 0, 48, 48});
    Craft(cr, cells[c].light, cells[c].mode);
    img->EndCell();
  }
  return img;
}

std::unique_ptr<SheetImage> DrawEnemy2() {
  auto img = std::make_unique<SheetImage>("img/enemy2.bmp", 256, 64, kKeyShip, kSkyMatte);
  for (int c = 0; c < 3; ++c) {
    cairo_t* cr = img->BeginCell({48 * c, 0, 48, 48});
    Turret(cr, c);
    img->EndCell();
  }
  return img;
}

std::unique_ptr<SheetImage> DrawEnemy3() {
  auto img = std::make_unique<SheetImage>("img/enemy3.bmp", 256, 64, kKeyShip, kSkyMatte);
  for (int c = 0; c < 5; ++c) {
    cairo_t* cr = img->BeginCell({48 * c, 0, 48, 48});
    Rammer(cr, c < 3 ? c : 1, c >= 3 && c == 4);
    img->EndCell();
  }
  return img;
}

namespace {

// The large boss, centred on (cx, 64) in a 128-high cell, facing down. pulse 0..2 animates
// the engines and lights; arms 0 folded .. 1 spread; open shows the wide barrage stance.
void Fortress(cairo_t* cr, double cx, int pulse, double arms, bool open) {
  const uint32_t outline = 0x401008;
  const double armX = 34 + 14 * arms + (open ? 30 : 0);
  // Engine plumes at the top.
  for (double ex : {cx - 22.0, cx + 22.0}) {
    const double len = 10 + 4 * pulse;
    Polygon(cr, {{ex - 6, 22}, {ex + 6, 22}, {ex, 22 - len}});
    FillLinear(cr, ex, 22, 0xFFFFF0, ex, 22 - len, 0xFFA050);
  }
  // Arms: long gun pods on struts.
  for (int side = -1; side <= 1; side += 2) {
    const double ax = cx + side * armX;
    Polygon(cr, {{cx + side * 18, 46}, {ax, 50}, {ax, 60}, {cx + side * 18, 70}});
    FillStroke(cr, 0xE08050, outline, 1.4);
    RoundRect(cr, ax - 10, 30, 20, 62, 8);
    FillLinear(cr, ax - 10, 0, 0xFFB070, ax + 10, 0, 0xFFE0B8, true);
    Colour(cr, outline);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Muzzles at the bottom of the pods.
    for (double mx : {ax - 4.0, ax + 4.0}) {
      RoundRect(cr, mx - 2.5, 88, 5, 12, 2);
      FillStroke(cr, 0xFFE8D0, outline, 1.0);
    }
    // Pod lights.
    for (int k = 0; k < 3; ++k) {
      Circle(cr, ax, 42 + 14 * k, 3);
      Colour(cr, (k == pulse) ? 0xFFF8A0 : 0xC05030);
      cairo_fill(cr);
    }
  }
  // Main hull: layered plates.
  MirroredPolygon(cr, cx, {{cx - 12, 14}, {cx - 28, 24}, {cx - 32, 60}, {cx - 24, 92}, {cx - 10, 112}});
  FillLinear(cr, cx - 32, 0, 0xF07840, cx + 20, 0, 0xFFD0A0, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  MirroredPolygon(cr, cx, {{cx - 8, 22}, {cx - 20, 32}, {cx - 22, 62}, {cx - 14, 88}, {cx - 6, 100}});
  FillLinear(cr, cx - 22, 0, 0xFF9860, cx + 14, 0, 0xFFE8C8, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Plate seams.
  Colour(cr, 0xB85830);
  cairo_set_line_width(cr, 1);
  for (double y : {40.0, 76.0}) {
    cairo_move_to(cr, cx - 20, y);
    cairo_line_to(cr, cx + 20, y);
  }
  cairo_stroke(cr);
  // Core: opens into a glowing eye in the wide stance.
  Circle(cr, cx, 58, open ? 13 : 10);
  FillRadial(cr, cx - 2, 56, open ? 15 : 12, open ? 0xFFFFFF : 0xE0C8F0, open ? 0xFF3050 : 0x503060, true);
  Colour(cr, outline);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  if (open) {
    for (int side = -1; side <= 1; side += 2) {
      Polygon(cr, {{cx + side * 14, 50}, {cx + side * 26, 44}, {cx + side * 26, 72}, {cx + side * 14, 66}});
      FillStroke(cr, 0xFFE8D0, outline, 1.2);
    }
  }
  // Chin gun.
  RoundRect(cr, cx - 4, 100, 8, 18, 3);
  FillStroke(cr, 0xFFF0E0, outline, 1.2);
  // Crest lights.
  for (int k = -1; k <= 1; ++k) {
    Circle(cr, cx + 9 * k, 30, 2.5);
    Colour(cr, (k + 1 == pulse) ? 0xFFFFC0 : 0xC04028);
    cairo_fill(cr);
  }
}

}  // namespace

std::vector<std::unique_ptr<SheetImage>> DrawBoss() {
  auto a = std::make_unique<SheetImage>("img/boss1_1.bmp", 256, 256, kKeyShip, kSkyMatte);
  auto b = std::make_unique<SheetImage>("img/boss1_2.bmp", 256, 256, kKeyShip, kSkyMatte);
  // Flying cells 0..2 and the standing cell 3.
  for (int cell = 0; cell < 4; ++cell) {
    SheetImage& sheet = cell < 2 ? *a : *b;
    cairo_t* cr = sheet.BeginCell({128 * (cell % 2), 0, 128, 128});
    Fortress(cr, 64, cell < 3 ? cell : 1, cell == 3 ? 1.0 : 0.0, false);
    sheet.EndCell();
  }
  // The pose held before a pattern: arms half spread.
  cairo_t* cr = a->BeginCell({0, 128, 128, 128});
  Fortress(cr, 64, 2, 0.5, false);
  a->EndCell();
  // The wide pose is one 192x128 picture cut 128 + 64 and joined on screen.
  cairo_surface_t* wide = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 192, 128);
  cairo_t* wcr = cairo_create(wide);
  cairo_rectangle(wcr, 1, 1, 190, 126);
  cairo_clip(wcr);
  Fortress(wcr, 96, 0, 1.0, true);
  cairo_destroy(wcr);
  PastePiece(*a, wide, 0, 0, {128, 128, 128, 128, kJoinRight});
  PastePiece(*b, wide, 128, 0, {0, 128, 64, 128, kJoinLeft});
  cairo_surface_destroy(wide);
  std::vector<std::unique_ptr<SheetImage>> out;
  out.push_back(std::move(a));
  out.push_back(std::move(b));
  return out;
}

void PastePiece(SheetImage& sheet, cairo_surface_t* canvas, int srcX, int srcY, const Cell& cell) {
  cairo_t* cr = sheet.BeginCell(cell);
  cairo_set_source_surface(cr, canvas, -srcX, -srcY);
  cairo_paint(cr);
  sheet.EndCell();
}
