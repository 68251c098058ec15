#pragma once
// The multimedia file functions for RIFF files (WAV), reading only.
#include "platform/win32/Win32Types.h"
#include "platform/winmm/WinMM.h"

using FOURCC = DWORD;
using HPSTR = char*;
struct MmioFile;
using HMMIO = MmioFile*;

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d)
{
    return static_cast<FOURCC>(static_cast<BYTE>(a)) | (static_cast<FOURCC>(static_cast<BYTE>(b)) << 8) |
           (static_cast<FOURCC>(static_cast<BYTE>(c)) << 16) | (static_cast<FOURCC>(static_cast<BYTE>(d)) << 24);
}

struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;
    DWORD dwDataOffset;
    DWORD dwFlags;
};
using LPMMCKINFO = MMCKINFO*;

// Not used by the program; accepted as null.
struct MMIOINFO;

constexpr DWORD MMIO_READ = 0x00000000;
constexpr DWORD MMIO_ALLOCBUF = 0x00010000;
constexpr UINT MMIO_FINDCHUNK = 0x0010;
constexpr UINT MMIO_FINDRIFF = 0x0020;
constexpr UINT MMIO_FINDLIST = 0x0040;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MMIOERR_FILENOTFOUND = 257;
constexpr MMRESULT MMIOERR_CANNOTSEEK = 264;
constexpr MMRESULT MMIOERR_CHUNKNOTFOUND = 265;

// Opens a file for reading (the path may use backslashes); null on failure.
HMMIO mmioOpenA(LPSTR path, MMIOINFO* info, DWORD flags);
// Descends into the next chunk (no flag), the next chunk with ckid (MMIO_FINDCHUNK) or the next
// RIFF/LIST chunk with fccType. A chunk whose length runs past its parent or the file is never
// entered: the descent fails with MMIOERR_CHUNKNOTFOUND.
MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags);
// Moves past the end of the chunk (and its pad byte when its length is odd).
MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags);
// Bytes read (fewer at the end of the file), -1 on error.
LONG mmioRead(HMMIO file, HPSTR buffer, LONG count);
MMRESULT mmioClose(HMMIO file, UINT flags);
