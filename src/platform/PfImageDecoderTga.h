// Truevision TGA pictures: true-colour (16, 24, 32 bits) and grey (8 bits), plain or run-length encoded,
// either row order. Colour-mapped files are refused. TGA has no signature: a header is accepted only when
// every field is one this reader knows and the data it announces fits in the file.
#pragma once

#include "platform/PfImage.h"
#include "platform/PfImageInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PfImageDecoderTga
{
public:
    static constexpr size_t kHeaderSize = 18;

    static bool ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error);
    static bool Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error);
};
