#include "platform/dsound/DirectSound.h"

#include <new>

#include "platform/dsound/AudioMixer.h"
#include "platform/dsound/SoundBuffer.h"
#include "platform/win32/Win32Window.h"

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, IUnknown* outer)
{
    if (!out) {
        return DSERR_INVALIDPARAM;
    }
    *out = nullptr;
    if (device || outer) {
        return DSERR_INVALIDPARAM;
    }
    if (!AudioMixer::Instance().Acquire()) {
        return DSERR_NODRIVER;
    }
    *out = new DirectSound;
    return DS_OK;
}

DirectSound::~DirectSound()
{
    AudioMixer::Instance().ReleaseUser();
}

ULONG DirectSound::AddRef()
{
    return ++refs_;
}

ULONG DirectSound::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DirectSound::SetCooperativeLevel(HWND window, DWORD level)
{
    if (!window || !IsWindow(window) || level < DSSCL_NORMAL || level > 3) {
        return DSERR_INVALIDPARAM;
    }
    cooperative_ = true;
    return DS_OK;
}

HRESULT DirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, IUnknown* outer)
{
    if (!buffer) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (!cooperative_) {
        return DSERR_PRIOLEVELNEEDED;
    }
    if (!desc || desc->dwSize < offsetof(DSBUFFERDESC, guid3DAlgorithm) || outer ||
        (desc->dwFlags & DSBCAPS_PRIMARYBUFFER)) {
        return DSERR_INVALIDPARAM;
    }
    if (!desc->lpwfxFormat || desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) {
        return DSERR_INVALIDPARAM;
    }
    if (!SoundBuffer::IsPlayableFormat(*desc->lpwfxFormat)) {
        return DSERR_BADFORMAT;
    }
    // Each buffer keeps the device open as long as it lives.
    if (!AudioMixer::Instance().Acquire()) {
        return DSERR_NODRIVER;
    }
    try {
        *buffer = new SoundBuffer(*desc->lpwfxFormat, desc->dwBufferBytes);
    } catch (const std::bad_alloc&) {
        AudioMixer::Instance().ReleaseUser();
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}
