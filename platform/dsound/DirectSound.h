#pragma once
// The sound device object: a user of the shared audio device that creates secondary buffers.
#include <atomic>

#include "platform/dsound/DSound.h"

class DirectSound : public IDirectSound {
public:
    DirectSound() = default;
    virtual ~DirectSound();

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, IUnknown* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

private:
    std::atomic<ULONG> refs_{1};
    bool cooperative_ = false;
};
