#pragma once
#include <cairo.h>

#include <string>
#include <vector>

#include "RgbImage.h"

// Edges of a cell that join another piece on screen and so carry art up to the border.
enum JoinEdge : unsigned { kJoinNone = 0, kJoinLeft = 1, kJoinTop = 2, kJoinRight = 4, kJoinBottom = 8, kJoinAll = 15 };

struct Cell {
  int x = 0, y = 0, w = 0, h = 0;
  unsigned joins = kJoinNone;
};

// One image of the program: art is drawn with Cairo on a transparent surface, cell by cell,
// then flattened onto the colour key. Every cell keeps a one-pixel key margin on its free edges
// so that unfiltered sprite cuts never pick up a neighbour.
class SheetImage {
 public:
  SheetImage(std::string file, int width, int height, Rgb key, Rgb matte);
  ~SheetImage();
  SheetImage(const SheetImage&) = delete;
  SheetImage& operator=(const SheetImage&) = delete;

  const std::string& file() const { return file_; }
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb key() const { return key_; }
  const std::vector<Cell>& cells() const { return cells_; }
  cairo_t* cr() const { return cr_; }

  // Registers the cell and sets up the context for it: origin at the cell's corner,
  // clip to the area inside its margins. Pair with EndCell.
  cairo_t* BeginCell(const Cell& cell);
  void EndCell();
  // Registers a cell without drawing (art drawn across several cells at once).
  void AddCell(const Cell& cell) { cells_.push_back(cell); }

  // Key wherever coverage is low, art elsewhere (edges blended toward the matte colour);
  // art colours are kept clear of the key, and cell margins are forced to the key.
  RgbImage Flatten() const;

 private:
  std::string file_;
  int width_, height_;
  Rgb key_, matte_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  std::vector<Cell> cells_;
};
