// DirectDraw Surface pictures: level 0 (the first slice of a volume) of uncompressed RGB(A) data with
// masks of 16, 24 or 32 bits, or of DXT1 to DXT5 blocks, decoded to 32-bit pixels.
#pragma once

#include "platform/PfImage.h"
#include "platform/PfImageInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PfImageDecoderDds
{
public:
    // "DDS " and the 124-byte header.
    static constexpr size_t kHeaderSize = 128;

    static bool IsSignature(const uint8_t* data, size_t size);
    static bool ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error);
    static bool Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error);
};
