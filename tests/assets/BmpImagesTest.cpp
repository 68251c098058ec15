// Every bitmap the program loads: header fields, the colour key rules and the cells it cuts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "AssetReaders.h"

using namespace assets_test;

namespace {

enum : unsigned { L = 1, T = 2, R = 4, B = 8, ALL = 15 };  // edges joined to another piece

struct CutCell {
  int x, y, w, h;
  unsigned joined = 0;
};

struct BmpCase {
  const char* file;
  Pixel key;
  std::vector<CutCell> cells;
  bool drawnTinted = false;  // multiplied by a tint in play: must be drawn light
};

constexpr Pixel kBlack{0, 0, 0}, kWhite{255, 255, 255};
constexpr Pixel kShip{128, 255, 128}, kNumber{50, 250, 50}, kShot{50, 255, 50};

std::vector<CutCell> Grid(int x0, int y0, int w, int h, int columns, int rows) {
  std::vector<CutCell> cells;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) cells.push_back({x0 + w * c, y0 + h * r, w, h});
  return cells;
}

std::vector<CutCell> Join(std::vector<CutCell> a, const std::vector<CutCell>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The source rectangles the drawing code cuts from each image.
std::vector<BmpCase> Cases() {
  std::vector<CutCell> player = Grid(0, 0, 48, 48, 4, 3);
  player.erase(player.begin() + 4);  // row 1, column 0 is never drawn
  std::vector<CutCell> explosions = Grid(0, 0, 32, 32, 8, 3);
  for (int g = 0; g < 3; ++g) {
    explosions.push_back({0, 96 + 6 * g, 24, 6});
    explosions.push_back({24 + 64 * g, 96, 64, 64});
  }
  for (int i = 0; i < 4; ++i) explosions.push_back({2 * i, 114, 2, 2, ALL});
  explosions.push_back({0, 118, 14, 14});
  const std::vector<CutCell> preview = {{0, 0, 168, 128, R}, {0, 128, 256, 128, L}};
  return {
      {"img/player.bmp", kShip, player},
      {"img/back_w1.bmp", kBlack, {{0, 0, 128, 256, ALL}, {128, 0, 128, 256, ALL}}},
      {"img/back_w2.bmp", kBlack, {{0, 0, 128, 224, ALL}, {128, 0, 128, 224, ALL}}},
      {"img/object.bmp", kBlack,
       {{0, 0, 12, 12}, {12, 0, 12, 12}, {0, 12, 12, 12}, {12, 12, 12, 12}, {24, 0, 7, 7}, {0, 24, 32, 32},
        {32, 24, 24, 24}, {0, 56, 16, 16}, {228, 31, 28, 15}, {216, 56, 15, 200}, {231, 46, 25, 210}, {208, 251, 8, 5}}},
      {"img/number.bmp", kNumber, Grid(0, 0, 12, 18, 11, 1)},
      {"img/title.bmp", kWhite, {{0, 0, 256, 80, R}, {0, 76, 100, 80, L}, {0, 224, 154, 32}}},
      {"img/startmenu.bmp", kWhite, {{0, 0, 160, 48}, {0, 144, 160, 48}}},
      {"img/diffmenu.bmp", kWhite, {{0, 0, 160, 48}, {0, 96, 160, 48}, {0, 144, 160, 48}, {0, 192, 160, 48}}},
      {"img/explain.bmp", kWhite,
       {{0, 0, 128, 36}, {128, 0, 96, 36}, {0, 36, 128, 36}, {0, 72, 36, 36}, {128, 72, 128, 36}}},
      {"img/other.bmp", kWhite, {{0, 0, 40, 16}, {0, 16, 40, 16}, {0, 32, 40, 16}, {0, 48, 64, 16}}},
      {"img/warning.bmp", kWhite, {{0, 0, 136, 40, L | R}, {0, 40, 72, 32}, {0, 72, 140, 32}, {0, 104, 192, 32}}},
      {"img/enemy1.bmp", kShip, Grid(0, 0, 48, 48, 5, 1), true},
      {"img/enemy2.bmp", kShip, Grid(0, 0, 48, 48, 3, 1)},
      {"img/enemy3.bmp", kShip, Grid(0, 0, 48, 48, 5, 1), true},
      {"img/boss1_1.bmp", kShip, {{0, 0, 128, 128}, {128, 0, 128, 128}, {0, 128, 128, 128}, {128, 128, 128, 128, R}}, true},
      {"img/boss1_2.bmp", kShip, {{0, 0, 128, 128}, {128, 0, 128, 128}, {0, 128, 64, 128, L}}, true},
      {"img/shot.bmp", kShot,
       {{0, 0, 8, 8}, {0, 8, 16, 8}, {16, 8, 16, 8}, {32, 8, 16, 8}, {160, 8, 16, 8}, {0, 16, 16, 16}, {16, 16, 32, 16},
        {0, 32, 24, 18}, {28, 34, 23, 14}}},
      {"img/bakuha1.bmp", kBlack, explosions},
      {"img/f_white.bmp", kBlack, {{0, 0, 160, 120, ALL}}},
      {"img/f_black.bmp", kWhite, {{0, 0, 160, 120, ALL}}},
      {"img/clear_1.bmp", kNumber,
       Join(Join({{0, 0, 256, 56, R}}, Grid(0, 58, 24, 38, 10, 1)),
            Join(Grid(0, 96, 34, 40, 5, 1),
                 {{0, 136, 80, 40}, {80, 136, 82, 40}, {205, 136, 51, 40, R}, {0, 180, 80, 40}, {80, 180, 80, 40}}))},
      {"img/clear_2.bmp", kNumber, {{0, 0, 84, 56, L}, {0, 136, 21, 40, L}, {22, 136, 74, 40}}},
      {"img/clear_b1.bmp", kBlack, {{0, 0, 256, 256, R | B}}},
      {"img/clear_b2.bmp", kBlack, {{0, 0, 244, 256, L | B}}},
      {"img/clear_b3.bmp", kBlack,
       {{0, 0, 256, 48, R | T}, {0, 48, 100, 100, ALL}, {140, 48, 100, 100, ALL}, {100, 48, 40, 100, ALL},
        {0, 148, 100, 40, ALL}, {140, 148, 100, 40, ALL}}},
      {"img/clear_b4.bmp", kBlack,
       {{0, 0, 244, 48, L | T}, {0, 48, 100, 100, ALL}, {140, 48, 100, 100, ALL}, {100, 48, 40, 100, ALL}}},
      {"img/diff_s1.bmp", kWhite, preview},
      {"img/diff_s3.bmp", kWhite, preview},
      {"img/diff_s4.bmp", kWhite, preview},
  };
}

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

bool NearKey(const Pixel& p, const Pixel& key) {
  return !(p == key) && std::abs(p.r - key.r) <= 6 && std::abs(p.g - key.g) <= 6 && std::abs(p.b - key.b) <= 6;
}

void PrintTo(const BmpCase& c, std::ostream* os) { *os << c.file; }

class BmpImages : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpImages, HeaderIsUncompressed24BitBottomUpWithPowerOfTwoSize) {
  Picture pic;
  const std::string error = ReadBmp(ProgramPath(GetParam().file), pic);
  ASSERT_EQ(error, "");
  EXPECT_TRUE(IsPowerOfTwo(pic.width)) << pic.width;
  EXPECT_TRUE(IsPowerOfTwo(pic.height)) << pic.height;
  for (const CutCell& c : GetParam().cells) {
    EXPECT_LE(c.x + c.w, pic.width);
    EXPECT_LE(c.y + c.h, pic.height);
  }
}

TEST_P(BmpImages, EveryCutCellHasArtAndAKeyMarginOnItsFreeEdges) {
  const BmpCase& tc = GetParam();
  Picture pic;
  ASSERT_EQ(ReadBmp(ProgramPath(tc.file), pic), "");
  for (const CutCell& c : tc.cells) {
    int art = 0;
    for (int y = c.y; y < c.y + c.h; ++y)
      for (int x = c.x; x < c.x + c.w; ++x) art += !(pic.at(x, y) == tc.key);
    EXPECT_GT(art, 0) << "empty cell at (" << c.x << "," << c.y << ")";
    auto expectKey = [&](int x, int y) {
      EXPECT_TRUE(pic.at(x, y) == tc.key) << "cell (" << c.x << "," << c.y << ") margin pixel (" << x << "," << y << ")";
    };
    for (int i = 0; i < c.w; ++i) {
      if (!(c.joined & T)) expectKey(c.x + i, c.y);
      if (!(c.joined & B)) expectKey(c.x + i, c.y + c.h - 1);
    }
    for (int j = 0; j < c.h; ++j) {
      if (!(c.joined & L)) expectKey(c.x, c.y + j);
      if (!(c.joined & R)) expectKey(c.x + c.w - 1, c.y + j);
    }
  }
}

TEST_P(BmpImages, ArtKeepsClearOfTheKeyColour) {
  const BmpCase& tc = GetParam();
  Picture pic;
  ASSERT_EQ(ReadBmp(ProgramPath(tc.file), pic), "");
  int pinholes = 0, nearKey = 0, darkOnBlack = 0;
  for (int y = 0; y < pic.height; ++y) {
    for (int x = 0; x < pic.width; ++x) {
      const Pixel& p = pic.at(x, y);
      if (p == tc.key) {
        // A lone key pixel inside art shows as a see-through speck.
        if (x > 0 && y > 0 && x + 1 < pic.width && y + 1 < pic.height && !(pic.at(x - 1, y) == tc.key) &&
            !(pic.at(x + 1, y) == tc.key) && !(pic.at(x, y - 1) == tc.key) && !(pic.at(x, y + 1) == tc.key))
          ++pinholes;
        continue;
      }
      nearKey += NearKey(p, tc.key);
      if (tc.key == kBlack) darkOnBlack += p.r < 8 || p.g < 8 || p.b < 8;
    }
  }
  EXPECT_EQ(pinholes, 0);
  EXPECT_EQ(nearKey, 0) << "art pixels within a few steps of the key";
  EXPECT_EQ(darkOnBlack, 0) << "art channels below 8 on a black key";
}

INSTANTIATE_TEST_SUITE_P(Files, BmpImages, ::testing::ValuesIn(Cases()), [](const auto& info) {
  std::string name = info.param.file + 4;
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
});

Picture Load(const char* file) {
  Picture pic;
  EXPECT_EQ(ReadBmp(ProgramPath(file), pic), "") << file;
  return pic;
}

TEST(BmpLayout, TintedSpritesAreDrawnLight) {
  // Tints multiply the texels (light blue, red, half grey): dark art would turn muddy.
  for (const BmpCase& tc : Cases()) {
    if (!tc.drawnTinted) continue;
    const Picture pic = Load(tc.file);
    double sum = 0;
    int count = 0;
    for (const Pixel& p : pic.pixels) {
      if (p == tc.key) continue;
      sum += (p.r + p.g + p.b) / 3.0;
      ++count;
    }
    ASSERT_GT(count, 0) << tc.file;
    EXPECT_GT(sum / count, 150.0) << tc.file;
  }
}

TEST(BmpLayout, FadeSheetsAreUniformWithoutKeyPixels) {
  const struct {
    const char* file;
    Pixel colour, key;
  } cases[] = {{"img/f_white.bmp", {255, 255, 255}, kBlack}, {"img/f_black.bmp", {0, 0, 0}, kWhite}};
  for (const auto& c : cases) {
    const Picture pic = Load(c.file);
    ASSERT_GE(pic.width, 160);
    ASSERT_GE(pic.height, 120);
    for (const Pixel& p : pic.pixels) {
      ASSERT_TRUE(p == c.colour) << c.file;
      ASSERT_FALSE(p == c.key) << c.file;
    }
  }
}

TEST(BmpLayout, GaugeAreaOfTheLeftPanelIsPlain) {
  // Screen x 53..84, y 241..466 lies in back_w1 rows 241..255 and back_w2 rows 0..210.
  const Picture w1 = Load("img/back_w1.bmp"), w2 = Load("img/back_w2.bmp");
  const Pixel plain = w1.at(53, 241);
  for (int y = 241; y <= 466; ++y)
    for (int x = 53; x <= 84; ++x) {
      const Pixel& p = y < 256 ? w1.at(x, y) : w2.at(x, y - 256);
      ASSERT_TRUE(p == plain) << "(" << x << "," << y << ")";
    }
}

TEST(BmpLayout, GaugeFrameWindowIsTransparent) {
  // The bar shows through a 15x200 window 5 px in from the frame's left and top.
  const Picture obj = Load("img/object.bmp");
  for (int y = 46 + 5; y < 46 + 5 + 200; ++y)
    for (int x = 231 + 5; x < 231 + 5 + 15; ++x) ASSERT_TRUE(obj.at(x, y) == kBlack) << "(" << x << "," << y << ")";
}

TEST(BmpLayout, LogoOverlapRowsStayWhite) {
  // Rows 76..79 belong to both logo pieces; x 0..99 must be key so neither shows the other.
  const Picture title = Load("img/title.bmp");
  for (int y = 76; y <= 79; ++y)
    for (int x = 0; x <= 99; ++x) ASSERT_TRUE(title.at(x, y) == kWhite) << "(" << x << "," << y << ")";
}

TEST(BmpLayout, PreviewOverlapColumnsAreDrawnOnce) {
  // The right piece's first 6 columns are drawn over the left piece's last 6: the right piece
  // carries the art there and the left one is key, so a half-transparent preview shows no seam.
  for (const char* file : {"img/diff_s1.bmp", "img/diff_s3.bmp", "img/diff_s4.bmp"}) {
    const Picture pic = Load(file);
    int art = 0;
    for (int y = 1; y < 127; ++y)
      for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(pic.at(162 + k, y) == kWhite) << file << " row " << y;
        art += !(pic.at(k, 128 + y) == kWhite);
      }
    EXPECT_GT(art, 6 * 100) << file;
  }
}

TEST(BmpLayout, PreviewEndsInsideThePlayField) {
  // The right piece is drawn at x 300 + offset; the play field ends at x 512, and from an
  // offset of 16 px on the piece is drawn fully transparent. So its columns from 196 on are key.
  for (const char* file : {"img/diff_s1.bmp", "img/diff_s3.bmp", "img/diff_s4.bmp"}) {
    const Picture pic = Load(file);
    int art = 0;
    for (int y = 128; y < 256; ++y)
      for (int x = 512 - 16 - 300; x < 256; ++x) art += !(pic.at(x, y) == kWhite);
    EXPECT_EQ(art, 0) << file;
  }
}

TEST(BmpLayout, PlayerShotReadsOnTheSkyAtItsFaintAlpha) {
  // The shot is drawn with alpha 0x60 over the pale sky: blended so, enough of it must still
  // stand clearly apart from the sky.
  const Picture shot = Load("img/shot.bmp");
  const double alpha = 0x60 / 255.0;
  const Pixel sky{192, 255, 255};
  int clear = 0;
  for (int y = 16; y < 32; ++y)
    for (int x = 16; x < 48; ++x) {
      const Pixel p = shot.at(x, y);
      if (p == kShot) continue;
      auto channel = [&](uint8_t art, uint8_t back) { return alpha * art + (1 - alpha) * back - back; };
      const double dr = channel(p.r, sky.r), dg = channel(p.g, sky.g), db = channel(p.b, sky.b);
      clear += std::sqrt(dr * dr + dg * dg + db * db) >= 60 ? 1 : 0;
    }
  EXPECT_GE(clear, 120) << "pixels of the 32x16 shot that stand out from the sky";
}

// Pieces drawn side by side on screen continue each other across the join.
TEST(BmpLayout, JoinedPiecesContinueAcrossTheSeam) {
  const struct {
    const char* leftFile;
    int leftX, leftY;
    const char* rightFile;
    int rightX, rightY, rows;
  } seams[] = {
      {"img/boss1_1.bmp", 255, 128, "img/boss1_2.bmp", 0, 128, 128},
      {"img/clear_1.bmp", 255, 0, "img/clear_2.bmp", 0, 0, 56},
      {"img/clear_1.bmp", 255, 136, "img/clear_2.bmp", 0, 136, 40},
      {"img/title.bmp", 255, 0, "img/title.bmp", 0, 80, 76},  // right piece drawn 4 px higher
      {"img/clear_b1.bmp", 255, 0, "img/clear_b2.bmp", 0, 0, 256},
  };
  for (const auto& s : seams) {
    const Picture a = Load(s.leftFile), b = Load(s.rightFile);
    const Pixel keyA = a.at(0, a.height - 1), keyB = b.at(b.width - 1, b.height - 1);
    int art = 0, mismatched = 0;
    for (int i = 0; i < s.rows; ++i) {
      const bool artA = !(a.at(s.leftX, s.leftY + i) == keyA), artB = !(b.at(s.rightX, s.rightY + i) == keyB);
      art += artA || artB;
      mismatched += artA != artB;
    }
    EXPECT_GT(art, 0) << s.leftFile << ": nothing crosses the seam";
    EXPECT_LE(mismatched, s.rows / 10) << s.leftFile << " / " << s.rightFile;
  }
}

// The stage opening's panel: where the game draws its five pieces of img/explain.bmp
// (panel origin at screen (188, 120)).
struct PanelPiece {
  int screenX, screenY;
  CutCell src;
};
constexpr PanelPiece kExplainPieces[] = {
    {188, 120, {0, 0, 128, 36}},  {364, 120, {128, 0, 96, 36}},  {188, 156, {0, 36, 128, 36}},
    {188, 192, {0, 72, 36, 36}},  {284, 192, {128, 72, 128, 36}},
};

TEST(BmpLayout, ExplainPanelLeavesTheOpeningClockOnTheKey) {
  // The clock is drawn among the pieces during the opening; none of the panel's art may lie
  // under it. The icon also keeps 2 px of key around it, so it never sits on a box's border.
  const struct {
    const char* what;
    int x, y, w, h, clearance;
  } clock[] = {
      {"icon", 296, 120, 32, 32, 2},
      {"digits", 328, 120, 36, 36, 0},  // three 12x18 cells at y 127, right after the icon
  };
  const Picture pic = Load("img/explain.bmp");
  for (const auto& area : clock) {
    const int x0 = area.x - area.clearance, x1 = area.x + area.w + area.clearance;
    const int y0 = area.y - area.clearance, y1 = area.y + area.h + area.clearance;
    for (const PanelPiece& p : kExplainPieces) {
      int art = 0, firstX = -1, firstY = -1;
      for (int y = std::max(y0, p.screenY); y < std::min(y1, p.screenY + p.src.h); ++y)
        for (int x = std::max(x0, p.screenX); x < std::min(x1, p.screenX + p.src.w); ++x) {
          const int sx = p.src.x + x - p.screenX, sy = p.src.y + y - p.screenY;
          if (pic.at(sx, sy) == kWhite) continue;
          if (art++ == 0) firstX = sx, firstY = sy;
        }
      EXPECT_EQ(art, 0) << "art under the clock's " << area.what << " in the piece from source (" << p.src.x << ","
                        << p.src.y << "), first at source (" << firstX << "," << firstY << ")";
    }
  }
}

TEST(BmpLayout, ExplainPanelTextKeepsClearOfTheBoxBorders) {
  // Each box is a plate of one fill colour with a border stroke within 2 px of its edge (the
  // key around it). The 2 px inside the stroke must be plain fill all round, so no letter,
  // nor its anti-aliasing, touches the border.
  const CutCell boxes[] = {{0, 0, 128, 36}, {128, 0, 96, 36}, {0, 36, 128, 36}, {128, 72, 128, 36}};
  constexpr int kStroke = 2, kGap = 2;
  const Picture pic = Load("img/explain.bmp");
  for (const CutCell& box : boxes) {
    SCOPED_TRACE(testing::Message() << "box at (" << box.x << "," << box.y << ")");
    auto isKey = [&](int x, int y) {
      return x < box.x || y < box.y || x >= box.x + box.w || y >= box.y + box.h || pic.at(x, y) == kWhite;
    };
    // Chessboard distance from the pixel to the nearest key pixel: 1 on the plate's rim.
    auto edgeDistance = [&](int x, int y) {
      for (int r = 1;; ++r)
        for (int j = -r; j <= r; ++j)
          for (int i = -r; i <= r; ++i)
            if ((std::abs(i) == r || std::abs(j) == r) && isKey(x + i, y + j)) return r;
    };
    // The fill is the plate's commonest colour; anything a few steps off it is ink or stroke.
    std::vector<std::pair<Pixel, int>> colours;
    for (int y = box.y; y < box.y + box.h; ++y)
      for (int x = box.x; x < box.x + box.w; ++x) {
        const Pixel& p = pic.at(x, y);
        if (p == kWhite) continue;
        auto it = std::find_if(colours.begin(), colours.end(), [&](const auto& c) { return c.first == p; });
        if (it == colours.end()) colours.push_back({p, 1});
        else ++it->second;
      }
    ASSERT_FALSE(colours.empty());
    const Pixel fill =
        std::max_element(colours.begin(), colours.end(), [](const auto& a, const auto& b) { return a.second < b.second; })
            ->first;
    auto isFill = [&](const Pixel& p) {
      return std::abs(p.r - fill.r) <= 3 && std::abs(p.g - fill.g) <= 3 && std::abs(p.b - fill.b) <= 3;
    };
    int ink = 0, closest = 1 << 30, closestX = -1, closestY = -1;
    for (int y = box.y; y < box.y + box.h; ++y)
      for (int x = box.x; x < box.x + box.w; ++x) {
        if (isKey(x, y) || isFill(pic.at(x, y))) continue;
        const int d = edgeDistance(x, y);
        if (d <= kStroke) continue;  // the border stroke
        ++ink;
        if (d < closest) closest = d, closestX = x - box.x, closestY = y - box.y;
      }
    EXPECT_GT(ink, 0) << "no words on the plate";
    EXPECT_GE(closest - kStroke - 1, kGap) << "px of fill between the border and the ink at box pixel (" << closestX
                                           << "," << closestY << ")";
  }
}

}  // namespace
