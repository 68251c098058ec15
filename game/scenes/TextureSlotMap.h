#pragma once
#include <cstdint>

// Which image file lies in which texture slot, with its colour key.
struct TextureSlotFile {
    int slot;
    const char* file;
    std::uint32_t colourKey;
};

// The 22 images the loader thread loads for the whole run, in loading order (slots 0-12, 15-23).
extern const TextureSlotFile kSharedTextures[22];
// Per-scene groups.
extern const TextureSlotFile kStageTextures[1];
extern const TextureSlotFile kStageClearTextures[6];
extern const TextureSlotFile kDifficultyTextures[3];

// Loads a group of textures; a failed load restarts the group from its first file, at most
// `restarts` times. Returns null when all loaded, else the path of the file that kept failing.
const char* LoadTextureGroup(const TextureSlotFile* group, int count, int restarts);
