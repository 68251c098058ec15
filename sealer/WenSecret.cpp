// The library's exported functions. Every call seeds a generator of its own, so calls share no
// state and calls from two threads cannot disturb each other.
#include <cstdint>
#include <limits>

#include "platform/win32/Win32Time.h"
#include "platform/winmm/WinMM.h"
#include "sealer/MachineSeed.h"
#include "sealer/SealCodec.h"
#include "sealer/WEN_Secret.h"

namespace {

std::uint32_t MachineValue(int bind)
{
    return bind == 1 ? sealer::MachineSeedOffset() : 0u;
}

std::uint16_t ClockSeed()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return static_cast<std::uint16_t>((timeGetTime() + now.wMilliseconds) & 0xFFFF);
}

}  // namespace

int GetPassLen(int len)
{
    std::int64_t size = sealer::SealedSize(len);
    return size > std::numeric_limits<int>::max() ? -1 : static_cast<int>(size);
}

int SetSecret(unsigned char* plain, int len, unsigned char* sealed, int bind)
{
    if (!plain || !sealed || len < 8 || GetPassLen(len) < 0) {
        return -1;
    }
    return sealer::SealWithSeed(plain, len, sealed, ClockSeed(), MachineValue(bind));
}

int GetSecret(unsigned char* plain, int* len, unsigned char* sealed, int sealedLen, int bind)
{
    return sealer::Unseal(plain, len, sealed, sealedLen, MachineValue(bind));
}
