#pragma once
#include <string>

// Composes the seven music tracks into <root>/Music as Standard MIDI Files.
void WriteMusicPieces(const std::string& root);
