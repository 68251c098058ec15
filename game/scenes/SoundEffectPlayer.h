#pragma once
#include "engine/Task.h"

// Plays, at the start of each frame's run, every sound effect requested since, once each.
class SoundEffectPlayer : public Task {
public:
    SoundEffectPlayer();
    void Exec() override;
    static SoundEffectPlayer* Create(int priority);
};
