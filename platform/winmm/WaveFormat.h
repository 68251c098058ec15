#pragma once
// The wave format record as it is stored in a WAV file's format chunk (18 bytes, packed).
#include "platform/win32/Win32Types.h"

constexpr WORD WAVE_FORMAT_PCM = 1;

#pragma pack(push, 2)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
using LPWAVEFORMATEX = WAVEFORMATEX*;
