#include "game/scenes/SoundEffectPlayer.h"

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"

namespace {

// Plays every raised request once and lowers it.
void PlayRequests()
{
    std::uint8_t* flags = g_soundEffectBank->GetRequestFlags();
    for (int id = 0; id < kSoundEffectCount; ++id) {
        if (flags[id]) {
            g_soundEffectBank->Play(static_cast<SoundEffectId>(id));
            g_soundEffectBank->SetRequest(static_cast<SoundEffectId>(id), 0);
        }
    }
}

}  // namespace

SoundEffectPlayer::SoundEffectPlayer()
{
    type = TaskType::Screen;
    // A scene's player starts with no request pending. Requests raised in the previous scene's
    // last frame, after its player had run (the difficulty menu's cancel sound is one), would
    // be lost here; they are played now instead, at the start of the frame as any request is.
    PlayRequests();
}

SoundEffectPlayer* SoundEffectPlayer::Create(int priority)
{
    return InsertNew<SoundEffectPlayer>(priority);
}

void SoundEffectPlayer::Exec()
{
    PlayRequests();
}
