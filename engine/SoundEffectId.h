#pragma once

// The game's sound effects, loaded in this order from the files in kSoundEffectFiles.
enum class SoundEffectId : int {
    PlayerHitCry = 0,
    BossVoice = 1,
    PlayerHitBlast = 2,
    CursorMove = 3,
    MenuSelect = 4,
    TallyRank = 5,
    MenuCancel = 6,
    ItemCollect = 7,
    ExplosionSmall = 8,
    ExplosionMedium = 9,
    ExplosionLarge = 10,
    PlayerShot = 11,
    BossShot = 12,
    BossHitA = 13,
    BossHitB = 14,
    BossHitC = 15,
    Warning = 16,
};

constexpr int kSoundEffectCount = 17;

// Relative to the program's folder, indexed by SoundEffectId.
constexpr const char* kSoundEffectFiles[kSoundEffectCount] = {
    "wav/animal00.wav", "wav/voice017.wav", "wav/bom25.wav",   "wav/pi59.wav",    "wav/cursor15_a.wav",
    "wav/power14.wav",  "wav/cursor01.wav", "wav/chari08.wav", "wav/saku05.wav",  "wav/burst00.wav",
    "wav/gun24.wav",    "wav/swing32.wav",  "wav/swing11.wav", "wav/hit39.wav",   "wav/hit44.wav",
    "wav/hit77.wav",    "wav/alarm01.wav",
};
