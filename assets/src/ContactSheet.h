#pragma once
#include <string>
#include <vector>

#include "Art.h"

// Writes one PNG showing every image on a checkerboard (key pixels see-through) with the
// outline of every cell the program cuts from it, for reviewing the art.
// zoom enlarges every image (nearest pixel) for a close look at small sprites.
void WriteContactSheet(const std::string& path, const std::vector<ImageEntry>& images, int zoom = 1);
