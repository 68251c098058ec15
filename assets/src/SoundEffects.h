#pragma once
#include <string>

// Synthesises the 17 sound effects into <root>/wav.
void WriteSoundEffects(const std::string& root);
