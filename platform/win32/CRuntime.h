#pragma once
// The C runtime's random generator: one state per thread, state * 214013 + 2531011, result
// (state >> 16) & 0x7FFF. The game's random numbers come only from here, never from glibc.
namespace crt {

constexpr int kRandMax = 0x7FFF;

int rand();
void srand(unsigned seed);

}  // namespace crt
