#include "engine/SoundEffectBank.h"

#include <cstring>
#include <memory>
#include <new>

#include "engine/Application.h"
#include "platform/winmm/MmioFile.h"
#include "platform/winmm/WaveFormat.h"

SoundEffectBank* g_soundEffectBank = nullptr;

namespace {

bool Valid(SoundEffectId id)
{
    int i = static_cast<int>(id);
    return i >= 0 && i < kSoundEffectCount;
}

}  // namespace

SoundEffectBank::SoundEffectBank() : device(nullptr), buffers{}, requestFlags{}
{
    // The flags start lowered so that nothing reads them uninitialised before the player task
    // clears them.
}

SoundEffectBank::~SoundEffectBank()
{
    for (IDirectSoundBuffer*& b : buffers) {
        if (b) {
            b->Release();
            b = nullptr;
        }
    }
    if (device) {
        device->Release();
        device = nullptr;
    }
}

bool SoundEffectBank::Init()
{
    if (DirectSoundCreate(nullptr, &device, nullptr) != DS_OK) {
        device = nullptr;
        return false;
    }
    return device->SetCooperativeLevel(g_mainWindow, DSSCL_NORMAL) == DS_OK;
}

bool SoundEffectBank::LoadWave(SoundEffectId id, const char* path)
{
    if (!Valid(id) || !device || !path) {
        return false;
    }
    std::string name = path;
    HMMIO file = mmioOpenA(name.data(), nullptr, MMIO_ALLOCBUF);
    if (!file) {
        return false;
    }
    auto fail = [&] {
        mmioClose(file, 0);
        return false;
    };

    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) {
        return fail();
    }
    // The format chunk must be the first chunk inside the RIFF.
    MMCKINFO chunk{};
    if (mmioDescend(file, &chunk, &riff, 0) != MMSYSERR_NOERROR || chunk.ckid != mmioFOURCC('f', 'm', 't', ' ')) {
        return fail();
    }
    WAVEFORMATEX format{};
    if (mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof(format)) < static_cast<LONG>(sizeof(format))) {
        return fail();
    }
    if (format.wFormatTag != WAVE_FORMAT_PCM) {
        return fail();
    }
    if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) {
        return fail();
    }
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
        return fail();
    }
    // The descent checked the chunk's length against the file, so this much can be read.
    std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[data.cksize ? data.cksize : 1]);
    if (!bytes) {
        return fail();
    }
    LONG want = static_cast<LONG>(data.cksize);
    if (want < 0 || mmioRead(file, reinterpret_cast<HPSTR>(bytes.get()), want) != want) {
        return fail();
    }
    mmioClose(file, 0);

    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = format.nChannels;
    pcm.nSamplesPerSec = format.nSamplesPerSec;
    pcm.nAvgBytesPerSec = format.nAvgBytesPerSec;
    pcm.nBlockAlign = format.nBlockAlign;
    pcm.wBitsPerSample = format.wBitsPerSample;
    pcm.cbSize = 0;

    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = data.cksize;
    desc.lpwfxFormat = &pcm;
    int slot = static_cast<int>(id);
    if (buffers[slot]) {
        buffers[slot]->Release();
        buffers[slot] = nullptr;
    }
    if (FAILED(device->CreateSoundBuffer(&desc, &buffers[slot], nullptr))) {
        buffers[slot] = nullptr;
        return false;
    }

    LPVOID part1 = nullptr;
    LPVOID part2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    HRESULT hr = buffers[slot]->Lock(0, data.cksize, &part1, &bytes1, &part2, &bytes2, 0);
    if (hr == DSERR_BUFFERLOST) {
        buffers[slot]->Restore();
        hr = buffers[slot]->Lock(0, data.cksize, &part1, &bytes1, &part2, &bytes2, 0);
    }
    if (FAILED(hr)) {
        // A buffer that cannot be filled would play noise or nothing: the slot stays empty.
        buffers[slot]->Release();
        buffers[slot] = nullptr;
        return false;
    }
    std::memcpy(part1, bytes.get(), bytes1);
    if (part2 && bytes2 > 0) {
        std::memcpy(part2, bytes.get() + bytes1, bytes2);
    }
    buffers[slot]->Unlock(part1, bytes1, part2, bytes2);
    return true;
}

void SoundEffectBank::Play(SoundEffectId id)
{
    if (!Valid(id) || !buffers[static_cast<int>(id)]) {
        return;
    }
    IDirectSoundBuffer* b = buffers[static_cast<int>(id)];
    b->Stop();
    b->SetCurrentPosition(0);
    b->Play(0, 0, 0);
}

void SoundEffectBank::SetRequest(SoundEffectId id, std::uint8_t flag)
{
    if (Valid(id)) {
        requestFlags[static_cast<int>(id)] = flag;
    }
}

void SoundEffectBank::ReleaseBuffer(SoundEffectId id)
{
    if (Valid(id) && buffers[static_cast<int>(id)]) {
        buffers[static_cast<int>(id)]->Release();
        buffers[static_cast<int>(id)] = nullptr;
    }
}
