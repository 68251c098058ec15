#include "MusicPieces.h"
void WriteMusicPieces(const std::string&) {}
