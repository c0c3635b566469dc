#pragma once

#include "core/GxVector4.h"

#include <cstdint>

// Packing of animation colours (r, g, b, a in x, y, z, w) to ARGB: each channel clamped to 0..1, times
// 255, rounded to the nearest integer (the engine's general packer cuts toward zero, which would turn a
// computed 1.0 - epsilon into 254). A NaN channel packs as 0.
class GxNcColor
{
public:
    static uint32_t ToARGB(const GxVector4& c)
    {
        return Channel(c.w) << 24 | Channel(c.x) << 16 | Channel(c.y) << 8 | Channel(c.z);
    }
    static uint32_t Channel(float v)
    {
        if (!(v > 0.0f))
            return 0;
        if (v >= 1.0f)
            return 255;
        return static_cast<uint32_t>(v * 255.0f + 0.5f);
    }
};
