// Conversions the device's files share: packed colours and state values that carry float bits.
#pragma once

#include <cstdint>
#include <cstring>

namespace PfGLDeviceConvert
{

inline uint32_t FloatBits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof(u));
    return u;
}

inline float BitsFloat(uint32_t u)
{
    float f;
    std::memcpy(&f, &u, sizeof(f));
    return f;
}

// Packed ARGB to red, green, blue, alpha in 0..1.
inline void ColorToFloats(uint32_t argb, float out[4])
{
    out[0] = ((argb >> 16) & 0xFF) / 255.0f;
    out[1] = ((argb >> 8) & 0xFF) / 255.0f;
    out[2] = (argb & 0xFF) / 255.0f;
    out[3] = ((argb >> 24) & 0xFF) / 255.0f;
}

} // namespace PfGLDeviceConvert
