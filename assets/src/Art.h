#pragma once
#include <memory>
#include <vector>

#include "SheetImage.h"

// Colour keys of the program's images.
inline constexpr Rgb kKeyBlack{0, 0, 0};
inline constexpr Rgb kKeyWhite{255, 255, 255};
inline constexpr Rgb kKeyShip{128, 255, 128};     // player, enemies, bosses
inline constexpr Rgb kKeyNumber{50, 250, 50};     // number, clear_1, clear_2
inline constexpr Rgb kKeyShot{50, 255, 50};       // shot
// The colour most sprites are seen against: the pale sky.
inline constexpr Rgb kSkyMatte{192, 255, 255};
inline constexpr Rgb kPanelMatte{20, 40, 96};

struct ImageEntry {
  std::unique_ptr<SheetImage> image;
  bool jpeg = false;
};

std::unique_ptr<SheetImage> DrawPlayer();
std::unique_ptr<SheetImage> DrawEnemy1();
std::unique_ptr<SheetImage> DrawEnemy2();
std::unique_ptr<SheetImage> DrawEnemy3();
std::vector<std::unique_ptr<SheetImage>> DrawBoss();  // boss1_1, boss1_2
std::unique_ptr<SheetImage> DrawShots();
std::unique_ptr<SheetImage> DrawExplosions();
std::unique_ptr<SheetImage> DrawObjects();
std::unique_ptr<SheetImage> DrawNumbers();
std::unique_ptr<SheetImage> DrawTitle();
std::unique_ptr<SheetImage> DrawStartMenu();
std::unique_ptr<SheetImage> DrawDifficultyMenu();
std::unique_ptr<SheetImage> DrawExplain();
std::unique_ptr<SheetImage> DrawOther();
std::unique_ptr<SheetImage> DrawWarning();
std::vector<std::unique_ptr<SheetImage>> DrawFadeSheets();    // f_white, f_black
std::vector<std::unique_ptr<SheetImage>> DrawSidePanels();    // back_w1, back_w2
std::vector<std::unique_ptr<SheetImage>> DrawSky();           // back1..3 (JPEG)
std::unique_ptr<SheetImage> DrawGroundTexture();
std::vector<std::unique_ptr<SheetImage>> DrawClearText();     // clear_1, clear_2
std::vector<std::unique_ptr<SheetImage>> DrawClearPictures(); // clear_b1..b4
std::vector<std::unique_ptr<SheetImage>> DrawPreviews();      // diff_s1, diff_s3, diff_s4

// Every image in program order, with its format.
std::vector<ImageEntry> DrawAllImages();

// Paints a region of a large canvas into a cell of a sheet (art that spans several cells).
void PastePiece(SheetImage& sheet, cairo_surface_t* canvas, int srcX, int srcY, const Cell& cell);
