// Windows BMP pictures: an info header of 40 bytes or more, 1, 4 and 8 bits with a palette, 16 bits
// (X1R5G5B5 or bit fields), 24 and 32 bits (plain or bit fields), uncompressed; either row order.
#pragma once

#include "platform/PfImage.h"
#include "platform/PfImageInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PfImageDecoderBmp
{
public:
    static bool IsSignature(const uint8_t* data, size_t size);
    static bool ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error);
    static bool Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error);
};
