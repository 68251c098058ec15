#pragma once
// Something the mixer pulls sound from on the thread that renders the output.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Adds this source's frames [first, first + frames) of the output's timeline (interleaved
    // stereo float, at the mixer's rate) into out. Called with the mixer's lock held.
    virtual void MixInto(float* out, int frames, int rate, long long first) = 0;
    // True when the sound at a frame follows from the play state alone, so that frames already
    // rendered can be rendered again (a sound buffer). False for a stream that advances with each
    // call and is rendered once, in order (a synthesiser).
    virtual bool Replayable() const { return false; }
    // Play-state changes asked for since the last render take effect from this frame on: the
    // first frame the output can still change. Called with the mixer's lock held.
    virtual void Settle(long long) {}
};
