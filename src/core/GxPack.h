#pragma once

#include <cstdint>

// The scrambling of ".gxp" packs. The byte at position p of a unit (one directory entry, or one entry's
// data) is exclusive-or'ed with the low 8 bits of p and with byte (p mod 23) of a fixed 23-byte table.
// The same routine scrambles and unscrambles.
class GxPack
{
public:
    // Unscrambles (or scrambles) count bytes in place; position is that of the first byte in its unit.
    static void Descramble(uint8_t* bytes, uint32_t count, uint32_t position);

    // The fixed 23-byte table of the format.
    static const uint8_t s_Table[23];
};
