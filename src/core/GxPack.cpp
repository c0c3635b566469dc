#include "core/GxPack.h"

#include <cstring>

const uint8_t GxPack::s_Table[23] = {0x5a, 0x17, 0xc3, 0xe0, 0x8b, 0x4d, 0x92, 0xf6, 0x1e, 0x7a, 0x08, 0xb3,
                                     0xc5, 0x5d, 0x29, 0xe4, 0xf0, 0x13, 0x6a, 0xb8, 0x9c, 0x47, 0xd1};

// The combined key (p & 0xFF) ^ table[p % 23] repeats every lcm(256, 23) = 5888 positions. It is kept
// twice over so that a run of up to one whole period can be taken from any starting phase in one piece,
// which lets the loop below work in 64-bit words (and lets the compiler vectorise it).
static constexpr uint32_t kPeriod = 256 * 23;

struct GxPackKeyStream
{
    alignas(64) uint8_t bytes[kPeriod * 2];
    GxPackKeyStream()
    {
        for (uint32_t p = 0; p < kPeriod * 2; ++p)
            bytes[p] = static_cast<uint8_t>((p & 0xFF) ^ GxPack::s_Table[p % 23]);
    }
};

static const GxPackKeyStream& GetKeyStream()
{
    static const GxPackKeyStream s_Key;
    return s_Key;
}

static void XorRun(uint8_t* dst, const uint8_t* key, uint32_t count)
{
    uint32_t i = 0;
    for (; i + 8 <= count; i += 8)
    {
        uint64_t a, b;
        std::memcpy(&a, dst + i, 8);
        std::memcpy(&b, key + i, 8);
        a ^= b;
        std::memcpy(dst + i, &a, 8);
    }
    for (; i < count; ++i)
        dst[i] ^= key[i];
}

void GxPack::Descramble(uint8_t* bytes, uint32_t count, uint32_t position)
{
    if (!bytes || count == 0)
        return;
    const GxPackKeyStream& key = GetKeyStream();
    // Positions are 32-bit and count from the unit's start; a unit never exceeds 4 GiB, so the phase only
    // has to follow p mod 5888. Should a run wrap the 32-bit count, the phase restarts at 0 there.
    while (count > 0)
    {
        uint32_t phase = position % kPeriod;
        uint32_t run = count < kPeriod ? count : kPeriod;
        uint32_t untilWrap = 0xFFFFFFFFu - position + 1u; // 0 means a full 2^32 ahead
        if (untilWrap != 0 && run > untilWrap)
            run = untilWrap;
        XorRun(bytes, key.bytes + phase, run);
        bytes += run;
        count -= run;
        position += run;
    }
}
