#include "sealer/SealCodec.h"

#include <cstring>
#include <limits>
#include <utility>

#include "sealer/SealRandom.h"

namespace sealer {

namespace {

constexpr std::int32_t kTrailerSize = 8;
constexpr std::int32_t kMinSealedSize = 24;  // the sealed size of the shortest plain block, 8 bytes

void SwapBytes(std::uint8_t& a, std::uint8_t& b)
{
    std::swap(a, b);
}

std::uint8_t HighNibble(std::uint8_t v)
{
    return static_cast<std::uint8_t>(v & 0xF0);
}

std::uint8_t LowNibble(std::uint8_t v)
{
    return static_cast<std::uint8_t>(v & 0x0F);
}

// A shape that SetSecret can have made: room for a trailer, whole 8-byte groups, and a decoded
// length that seals to exactly this size.
bool IsSealedShape(std::int32_t sealedLen, std::int32_t plainLen)
{
    return sealedLen >= kMinSealedSize && sealedLen % 8 == 0 && plainLen >= 8 &&
           SealedSize(plainLen) == sealedLen;
}

}  // namespace

std::uint8_t SealMix(std::uint8_t x)
{
    std::uint32_t state = (x + kSealMixKey) * 214013u + 2531011u;
    return static_cast<std::uint8_t>(state >> 16);
}

std::int64_t SealedSize(std::int64_t len)
{
    return (len / 8) * 8 + 16;
}

std::uint16_t ReadSealSeed(const std::uint8_t* sealed, std::int32_t n)
{
    return static_cast<std::uint16_t>(sealed[n - 6] * 256 + sealed[n - 5]);
}

std::int32_t ReadSealedLength(const std::uint8_t* sealed, std::int32_t n)
{
    std::uint16_t seed = ReadSealSeed(sealed, n);
    auto seedHigh = static_cast<std::uint8_t>(seed >> 8);
    auto seedLow = static_cast<std::uint8_t>(seed & 0xFF);
    const std::uint8_t masks[4] = {HighNibble(seedHigh), LowNibble(seedHigh), HighNibble(seedLow),
                                   LowNibble(seedLow)};
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        auto byte = static_cast<std::uint8_t>(sealed[n - 4 + i] - SealMix(masks[i]));
        length = (length << 8) | byte;
    }
    return static_cast<std::int32_t>(length);
}

int SealWithSeed(const std::uint8_t* plain, std::int32_t len, std::uint8_t* sealed, std::uint16_t seed,
                 std::uint32_t machine)
{
    if (!plain || !sealed || len < 8 || SealedSize(len) > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    const auto n = static_cast<std::int32_t>(SealedSize(len));
    SealRandom random(seed + machine);
    std::memset(sealed, 0, static_cast<std::size_t>(n));

    // Plain bytes, then padding; the last eight draws fall where the trailer goes.
    std::uint8_t sum = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        if (i < len) {
            sealed[i] = plain[i];
            sum = static_cast<std::uint8_t>(sum + plain[i]);
        } else {
            sealed[i] = static_cast<std::uint8_t>(random.Next() % 255);
        }
    }

    auto seedHigh = static_cast<std::uint8_t>(seed >> 8);
    auto seedLow = static_cast<std::uint8_t>(seed & 0xFF);
    auto length = static_cast<std::uint32_t>(len);
    std::uint8_t* trailer = sealed + n - kTrailerSize;
    trailer[7] = static_cast<std::uint8_t>((length & 0xFF) + SealMix(LowNibble(seedLow)));
    trailer[6] = static_cast<std::uint8_t>(((length >> 8) & 0xFF) + SealMix(HighNibble(seedLow)));
    trailer[5] = static_cast<std::uint8_t>(((length >> 16) & 0xFF) + SealMix(LowNibble(seedHigh)));
    trailer[4] = static_cast<std::uint8_t>((length >> 24) + SealMix(HighNibble(seedHigh)));
    trailer[3] = seedLow;
    trailer[2] = seedHigh;
    trailer[1] = static_cast<std::uint8_t>(HighNibble(sum) | LowNibble(SealMix(seedLow)));
    trailer[0] = static_cast<std::uint8_t>(HighNibble(SealMix(seedHigh)) | LowNibble(sum));

    for (std::int32_t j = 0; j < len; ++j) {
        sealed[j] = static_cast<std::uint8_t>(sealed[j] + random.Next() % 255);
    }
    const std::int32_t body = n - kTrailerSize;
    for (std::int32_t k = 0; k < body; ++k) {
        SwapBytes(sealed[k], sealed[random.Next() % body]);
    }
    return 0;
}

int Unseal(std::uint8_t* plain, std::int32_t* len, const std::uint8_t* sealed, std::int32_t sealedLen,
           std::uint32_t machine)
{
    if (!plain || !len || !sealed) {
        return -1;
    }
    const std::int32_t n = sealedLen >= kTrailerSize ? ReadSealedLength(sealed, sealedLen) : 0;
    if (!IsSealedShape(sealedLen, n)) {
        if (sealedLen > 0) {
            std::memset(plain, 0, static_cast<std::size_t>(sealedLen));
        }
        *len = 0;
        return -1;
    }
    const std::uint16_t seed = ReadSealSeed(sealed, sealedLen);
    std::memmove(plain, sealed, static_cast<std::size_t>(sealedLen));

    // Run the generator over every draw sealing took (fill, additions, swap partners), then
    // take them back in reverse order.
    const std::int32_t body = sealedLen - kTrailerSize;
    SealRandom random(seed + machine);
    const std::int64_t draws = static_cast<std::int64_t>(sealedLen - n) + n + body;
    for (std::int64_t i = 0; i < draws; ++i) {
        random.Next();
    }
    for (std::int32_t i = body - 1; i >= 0; --i) {
        SwapBytes(plain[random.Previous() % body], plain[i]);
    }
    for (std::int32_t i = n - 1; i >= 0; --i) {
        plain[i] = static_cast<std::uint8_t>(plain[i] - random.Previous() % 255);
    }

    auto check = static_cast<std::uint8_t>(HighNibble(plain[sealedLen - 7]) | LowNibble(plain[sealedLen - 8]));
    for (std::int32_t i = 0; i < n; ++i) {
        check = static_cast<std::uint8_t>(check - plain[i]);
    }
    std::memset(plain + n, 0, static_cast<std::size_t>(sealedLen - n));
    *len = n;
    return check == 0 ? 0 : -1;
}

}  // namespace sealer
