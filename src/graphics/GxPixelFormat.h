// Conversions between the decoded 32-bit pixels (A8R8G8B8 in memory) and the pixel formats textures are
// kept in. 16-bit A4R4G4B4 keeps the top four bits of each channel and widens back by repeating nibbles.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstdint>

class GxPixelFormat
{
public:
    static bool Is32Bit(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; }
    static bool Is4444(D3DFORMAT format) { return format == D3DFMT_A4R4G4B4 || format == D3DFMT_X4R4G4B4; }
    // Bytes per pixel of a format textures can be converted to, else 0.
    static uint32_t GetBytes(D3DFORMAT format);
    // Writes count pixels given as A8R8G8B8 bytes into dest in the format.
    static void FromArgbRow(uint8_t* dest, D3DFORMAT format, const uint8_t* source, uint32_t count);
    // The ARGB value of one pixel in the format (16-bit formats widened).
    static uint32_t ToArgb(const uint8_t* pixel, D3DFORMAT format);
};
