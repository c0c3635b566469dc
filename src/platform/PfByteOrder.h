// Little-endian fields of the image formats (BMP, DDS, TGA), read a byte at a time so that neither the
// host's byte order nor the field's alignment matters.
#pragma once

#include <cstdint>

class PfByteOrder
{
public:
    static uint32_t Le16(const uint8_t* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }
    static uint32_t Le32(const uint8_t* p)
    {
        return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
    }
};
