// RIFF reading over a host file. Sizes are little-endian; a chunk's data is padded to an even
// length. Every length taken from the file is checked against the file before it is used.
#include "platform/winmm/MmioFile.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32Kernel.h"

struct MmioFile {
    std::FILE* file = nullptr;
    std::uint64_t size = 0;
};

namespace {

constexpr FOURCC kRiff = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC kList = mmioFOURCC('L', 'I', 'S', 'T');

std::uint64_t Tell(HMMIO f)
{
    long p = std::ftell(f->file);
    return p < 0 ? 0 : static_cast<std::uint64_t>(p);
}

bool Seek(HMMIO f, std::uint64_t pos)
{
    return pos <= f->size && std::fseek(f->file, static_cast<long>(pos), SEEK_SET) == 0;
}

bool ReadDword(HMMIO f, DWORD& v)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, f->file) != 4) {
        return false;
    }
    v = DWORD(b[0]) | (DWORD(b[1]) << 8) | (DWORD(b[2]) << 16) | (DWORD(b[3]) << 24);
    return true;
}

}  // namespace

HMMIO mmioOpenA(LPSTR path, MMIOINFO*, DWORD flags)
{
    // Only reading is supported; a request to write or create cannot be honoured.
    if (!path || (flags & 0x3) != MMIO_READ) {
        return nullptr;
    }
    std::FILE* f = OpenRegularFileStream(Win32HostPath(path));  // never a pipe or folder
    if (!f) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto* m = new MmioFile;
    m->file = f;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long end = std::ftell(f);
        m->size = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }
    std::fseek(f, 0, SEEK_SET);
    return m;
}

MMRESULT mmioDescend(HMMIO f, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags)
{
    if (!f || !chunk) {
        return MMSYSERR_INVALPARAM;
    }
    // The region the chunk must lie in: the parent's data, or the whole file.
    std::uint64_t limit = f->size;
    if (parent) {
        limit = std::min<std::uint64_t>(limit, std::uint64_t(parent->dwDataOffset) + parent->cksize);
        if (Tell(f) < parent->dwDataOffset) {
            Seek(f, parent->dwDataOffset);
        }
    }
    FOURCC wantId = chunk->ckid;
    FOURCC wantType = chunk->fccType;
    for (;;) {
        std::uint64_t start = Tell(f);
        if (start + 8 > limit) {
            return MMIOERR_CHUNKNOTFOUND;
        }
        MMCKINFO ck{};
        if (!ReadDword(f, ck.ckid) || !ReadDword(f, ck.cksize)) {
            return MMIOERR_CHUNKNOTFOUND;
        }
        std::uint64_t dataStart = start + 8;
        std::uint64_t dataEnd = dataStart + ck.cksize;
        if (dataEnd > limit) {
            // Truncated or corrupt length: nothing after it can be trusted either.
            Seek(f, start);
            return MMIOERR_CHUNKNOTFOUND;
        }
        bool hasType = ck.ckid == kRiff || ck.ckid == kList;
        if (hasType) {
            if (ck.cksize < 4 || !ReadDword(f, ck.fccType)) {
                Seek(f, start);
                return MMIOERR_CHUNKNOTFOUND;
            }
        }
        ck.dwDataOffset = static_cast<DWORD>(dataStart);
        bool match = true;
        if (flags & MMIO_FINDRIFF) {
            match = ck.ckid == kRiff && ck.fccType == wantType;
        } else if (flags & MMIO_FINDLIST) {
            match = ck.ckid == kList && ck.fccType == wantType;
        } else if (flags & MMIO_FINDCHUNK) {
            match = ck.ckid == wantId;
        }
        if (match) {
            *chunk = ck;
            return MMSYSERR_NOERROR;
        }
        if (!(flags & (MMIO_FINDRIFF | MMIO_FINDLIST | MMIO_FINDCHUNK))) {
            return MMIOERR_CHUNKNOTFOUND;
        }
        std::uint64_t next = dataEnd + (ck.cksize & 1);
        if (next > limit || !Seek(f, next)) {
            return MMIOERR_CHUNKNOTFOUND;
        }
    }
}

MMRESULT mmioAscend(HMMIO f, LPMMCKINFO chunk, UINT)
{
    if (!f || !chunk) {
        return MMSYSERR_INVALPARAM;
    }
    std::uint64_t end = std::uint64_t(chunk->dwDataOffset) + chunk->cksize;
    end += chunk->cksize & 1;
    // A missing pad byte at the very end of the file is harmless.
    end = std::min(end, f->size);
    return Seek(f, end) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}

LONG mmioRead(HMMIO f, HPSTR buffer, LONG count)
{
    if (!f || count < 0 || (!buffer && count > 0)) {
        return -1;
    }
    std::size_t n = std::fread(buffer, 1, static_cast<std::size_t>(count), f->file);
    if (n < static_cast<std::size_t>(count) && std::ferror(f->file)) {
        return -1;
    }
    return static_cast<LONG>(n);
}

MMRESULT mmioClose(HMMIO f, UINT)
{
    if (!f) {
        return MMSYSERR_INVALHANDLE;
    }
    std::fclose(f->file);
    delete f;
    return MMSYSERR_NOERROR;
}
