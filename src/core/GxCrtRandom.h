#pragma once

#include <cstdint>

// The runtime library's small random generator, as the program's shared rand()/srand() pair: a linear
// congruential generator (x := x * 214013 + 2531011 mod 2^32) whose draws are bits 16 to 30 of the new
// state, so every draw lies in 0..32767. glibc's rand() has a different range and sequence, so the
// engine keeps its own. Seeded once at game start-up beside GxRandom; unseeded it behaves as seed 1.
// Main thread only.
class GxCrtRandom
{
public:
    static void Seed(uint32_t seed);
    // The next draw, 0..32767.
    static int32_t Next();

    static constexpr int32_t kMax = 32767;

private:
    static uint32_t s_State;
};
