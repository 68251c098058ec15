#pragma once
#include <cstdint>

#include "engine/SoundEffectId.h"
#include "platform/dsound/DSound.h"

// The game's short sound effects, one buffer each, with a play-request flag per effect. Game
// objects raise a flag; the sound-effect player task plays each raised effect once per frame.
class SoundEffectBank {
public:
    SoundEffectBank();
    virtual ~SoundEffectBank();
    SoundEffectBank(const SoundEffectBank&) = delete;
    SoundEffectBank& operator=(const SoundEffectBank&) = delete;

    bool Init();
    // Loads a PCM WAV file into the effect's buffer; false for a missing or malformed file.
    bool LoadWave(SoundEffectId id, const char* path);
    // Plays the effect once from its start (restarting it when it sounds already).
    void Play(SoundEffectId id);
    void SetRequest(SoundEffectId id, std::uint8_t flag);
    std::uint8_t* GetRequestFlags() { return requestFlags; }
    void ReleaseBuffer(SoundEffectId id);

private:
    IDirectSound* device;
    IDirectSoundBuffer* buffers[kSoundEffectCount];
    std::uint8_t requestFlags[kSoundEffectCount];
};

extern SoundEffectBank* g_soundEffectBank;
