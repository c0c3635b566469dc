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
};
