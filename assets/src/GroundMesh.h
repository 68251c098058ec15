#pragma once
#include <string>

// The scrolling ground under the sky: a text .x mesh seamless along z with period 4,
// spanning z -4..4 so that its two copies (at z and z + 4, z in -4..0) always cover the view.
std::string BuildGroundMesh(const std::string& textureFile);
