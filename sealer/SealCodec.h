#pragma once
// The sealed block format. A block of N bytes holds the permuted body (the plain bytes with
// added draws, then padding) and an unpermuted 8-byte trailer with the 16-bit seed, the plain
// length and the plain bytes' sum. The exported functions add the seed from the clock; tests
// seal here with a seed of their choice.
#include <cstdint>

namespace sealer {

// The library's fixed mixing constant.
constexpr std::uint32_t kSealMixKey = 583920471u;

// Bits 16..23 of the first generator step from x + the mixing constant.
std::uint8_t SealMix(std::uint8_t x);

// (len / 8) * 8 + 16, computed wide so that it cannot overflow.
std::int64_t SealedSize(std::int64_t len);

// Seals len (>= 8, sealed size within int) plain bytes into SealedSize(len) bytes of sealed,
// with the 16-bit seed written to the trailer and seed + machine driving the generator.
// Returns -1 having written nothing when len or a pointer is unusable.
int SealWithSeed(const std::uint8_t* plain, std::int32_t len, std::uint8_t* sealed, std::uint16_t seed,
                 std::uint32_t machine);

// Unseals as GetSecret does, with machine the value mixed into the seed when sealing.
int Unseal(std::uint8_t* plain, std::int32_t* len, const std::uint8_t* sealed, std::int32_t sealedLen,
           std::uint32_t machine);

// The trailer's fields of a block of n bytes (n >= 8).
std::uint16_t ReadSealSeed(const std::uint8_t* sealed, std::int32_t n);
std::int32_t ReadSealedLength(const std::uint8_t* sealed, std::int32_t n);

}  // namespace sealer
