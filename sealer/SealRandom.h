#pragma once
// The sealing's own pseudo-random generator: the C runtime's linear congruential formula with a
// state of its own, so that neither the C library's rand nor the game's generator disturbs a
// block. Unsealing walks the same sequence backwards, which the formula allows because its
// multiplier is odd and so invertible modulo 2^32.
#include <cstdint>

namespace sealer {

// The multiplicative inverse of an odd number modulo 2^32 (Newton's iteration: a start correct to
// 3 bits, each step doubling the correct bits).
constexpr std::uint32_t InverseModulo32(std::uint32_t a)
{
    std::uint32_t x = a;
    for (int i = 0; i < 5; ++i) {
        x *= 2u - a * x;
    }
    return x;
}

class SealRandom {
public:
    explicit SealRandom(std::uint32_t seed) : state_(seed) {}

    int Next()
    {
        state_ = state_ * kMultiplier + kIncrement;
        return Output();
    }

    // Returns what the last Next() returned and puts the state back to before it.
    int Previous()
    {
        int value = Output();
        state_ = (state_ - kIncrement) * kInverse;
        return value;
    }

private:
    static constexpr std::uint32_t kMultiplier = 214013u;
    static constexpr std::uint32_t kIncrement = 2531011u;
    static constexpr std::uint32_t kInverse = InverseModulo32(kMultiplier);
    static_assert(kMultiplier * kInverse == 1u);

    int Output() const { return static_cast<int>((state_ >> 16) & 0x7FFF); }

    std::uint32_t state_;
};

}  // namespace sealer
