// PNG pictures through libpng's memory reader. libpng reports errors by longjmp; its simplified reading
// interface catches them inside the library, so no C++ frame of ours is ever jumped over.
#pragma once

#include "platform/PfImage.h"
#include "platform/PfImageInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PfImageDecoderPng
{
public:
    // The eight signature bytes, then the IHDR chunk: a PNG file shorter than 24 bytes has no size.
    static constexpr size_t kMinimumSize = 24;

    static bool IsSignature(const uint8_t* data, size_t size);
    static bool ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error);
    static bool Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error);
};
