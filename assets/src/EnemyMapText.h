#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The enemy maps are written as text, one line per row of twelve cells, and turned here into
// the bytes the game reads (two bytes a cell: code, then param).
//
//   .      empty cell
//   K:P    enemy kind K (1..5) with target-second offset P (0..254; "r" for 255, a random one)
//   W      warning banner
//   B:P    boss, first form's target-second offset P
//   M:T    music track T (1..7)
//   rest N N empty rows
//
// "#" starts a comment; blank lines are skipped. Any other text throws std::runtime_error naming
// the map and the line.
std::vector<uint8_t> ParseEnemyMap(const std::string& name, const std::string& text);

// Writes emap/emap1_<level>.bin for levels 0..3 under the program folder.
void WriteEnemyMaps(const std::string& root);
