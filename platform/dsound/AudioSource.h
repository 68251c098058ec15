#pragma once
// Something the mixer pulls sound from on the audio thread.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Adds this source's next frames (interleaved stereo float) into out, at the mixer's rate.
    // Called with the mixer's lock held.
    virtual void MixInto(float* out, int frames, int rate) = 0;
};
