#pragma once

#include <cstdint>

// The game's one pseudo-random source: the standard 32-bit Mersenne Twister (MT19937), so a given seed
// always yields the reference sequence. Process-wide and unlocked: only the main thread draws.
class GxRandom
{
public:
    // Standard MT19937 initialisation from a 32-bit seed; also forgets the bounded-draw cache.
    static void Seed(uint32_t seed);
    // The next 32-bit output. A source that was never seeded seeds itself with 5489, the reference
    // seed, first.
    static uint32_t NextU32();
    // A uniformly distributed integer in [0, n), neither truncated nor biased; 0 without drawing when
    // n < 1.
    static int32_t Next(int32_t n);

private:
    static void Regenerate();
};
