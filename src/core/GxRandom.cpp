#include "core/GxRandom.h"

namespace
{
constexpr int kStateWords = 624;
constexpr int kMiddleWord = 397;
constexpr uint32_t kTwist = 0x9908B0DFu;
constexpr uint32_t kUpperBit = 0x80000000u;
constexpr uint32_t kLowerBits = 0x7FFFFFFFu;
constexpr uint32_t kReferenceSeed = 5489u;
// Bounds are scaled up to the first multiple above 2^30 so one 31-bit draw covers them many times over.
constexpr uint32_t kScaleLimit = 0x40000000u;
constexpr uint32_t kDrawRange = 0x80000000u; // 2^31: the draws of Next are 31-bit

uint32_t s_State[kStateWords];
int s_Index = 0; // next word to hand out; 0 regenerates all words first
bool s_Seeded = false;

// Bounded-draw cache: the last bound, that bound times 2^shift, and shift.
int32_t s_Bound = 0;
uint32_t s_Scaled = 0;
int s_Shift = 0;
} // namespace

void GxRandom::Seed(uint32_t seed)
{
    s_State[0] = seed;
    for (int i = 1; i < kStateWords; ++i)
        s_State[i] = 1812433253u * (s_State[i - 1] ^ (s_State[i - 1] >> 30)) + static_cast<uint32_t>(i);
    s_Index = 0;
    s_Seeded = true;
    s_Bound = 0;
    s_Scaled = 0;
    s_Shift = 0;
}

void GxRandom::Regenerate()
{
    // The standard twist, in three runs so that no index needs wrapping: words past the end are
    // read from the start of the array, which by then already holds new values, as the generator
    // requires.
    auto twist = [](uint32_t upper, uint32_t lower, uint32_t middle)
    {
        const uint32_t y = (upper & kUpperBit) | (lower & kLowerBits);
        return middle ^ (y >> 1) ^ ((y & 1u) ? kTwist : 0u);
    };
    int i = 0;
    for (; i < kStateWords - kMiddleWord; ++i)
        s_State[i] = twist(s_State[i], s_State[i + 1], s_State[i + kMiddleWord]);
    for (; i < kStateWords - 1; ++i)
        s_State[i] = twist(s_State[i], s_State[i + 1], s_State[i + kMiddleWord - kStateWords]);
    s_State[i] = twist(s_State[i], s_State[0], s_State[kMiddleWord - 1]);
}

uint32_t GxRandom::NextU32()
{
    if (!s_Seeded)
        Seed(kReferenceSeed);
    if (s_Index == 0)
        Regenerate();
    uint32_t y = s_State[s_Index];
    if (++s_Index == kStateWords)
        s_Index = 0;

    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

int32_t GxRandom::Next(int32_t n)
{
    if (n < 1)
        return 0;
    // Seeding resets the bound cache below, so it must happen before the cache is filled: a first draw
    // on a source never seeded would otherwise scale by 0 and never return.
    if (!s_Seeded)
        Seed(kReferenceSeed);
    const uint32_t bound = static_cast<uint32_t>(n);
    if (n != s_Bound)
    {
        s_Bound = n;
        s_Scaled = bound;
        s_Shift = 0;
        while (s_Scaled <= kScaleLimit)
        {
            s_Scaled <<= 1;
            ++s_Shift;
        }
    }

    // Each accepted value v stands for the 2^shift draws v << shift .. (v << shift) + 2^shift - 1, so
    // every result is equally likely. A draw at or above scaled is not thrown away: its excess is
    // uniform below 2^31 - scaled and is cut into further whole multiples of the bound.
    for (;;)
    {
        const uint32_t r = NextU32() >> 1;
        if (r < s_Scaled)
            return static_cast<int32_t>(r >> s_Shift);

        uint32_t room = kDrawRange - s_Scaled;
        uint32_t excess = r - s_Scaled;
        uint32_t span = s_Scaled;
        int shift = s_Shift;
        while (room >= bound)
        {
            // span stays bound x 2^shift and never falls below bound, as room >= bound.
            while (span > room)
            {
                span >>= 1;
                --shift;
            }
            if (excess < span)
                return static_cast<int32_t>(excess >> shift);
            room -= span;
            excess -= span;
        }
    }
}
