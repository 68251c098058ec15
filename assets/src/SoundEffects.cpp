#include "SoundEffects.h"
void WriteSoundEffects(const std::string&) {}
