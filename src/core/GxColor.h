#pragma once

#include "core/GxVector4.h"

#include <cstdint>

// Conversions between packed colours (32-bit ARGB: alpha in bits 24 to 31, then red, green, blue
// down to bit 0) and float colours (r, g, b, a in x, y, z, w, each nominally 0 to 1).
class GxColor
{
public:
    static GxVector4 FromARGB(uint32_t argb);
    // Each channel clamped to 0..1; a NaN channel becomes 0.
    static GxVector4 Saturate(const GxVector4& colour);
    // Saturates, then scales each channel by 255 and cuts toward zero (0.999 gives 254, not 255).
    static uint32_t ToARGB(const GxVector4& colour);
    // The top four bits of each channel as a 16-bit A4R4G4B4 value (0xFF102030 gives 0xF123).
    static uint16_t ToA4R4G4B4(uint32_t argb)
    {
        return (uint16_t)(((argb >> 16) & 0xF000) | ((argb >> 12) & 0x0F00) | ((argb >> 8) & 0x00F0) |
                          ((argb >> 4) & 0x000F));
    }
    // A 16-bit A4R4G4B4 value widened by repeating each nibble (0xABCD gives 0xAABBCCDD).
    static uint32_t FromA4R4G4B4(uint16_t value)
    {
        const uint32_t v = value;
        return ((v & 0xF000) << 16 | (v & 0xF000) << 12) | ((v & 0x0F00) << 12 | (v & 0x0F00) << 8) |
               ((v & 0x00F0) << 8 | (v & 0x00F0) << 4) | ((v & 0x000F) << 4 | (v & 0x000F));
    }
};
