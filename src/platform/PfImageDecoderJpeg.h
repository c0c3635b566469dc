// JPEG pictures through libjpeg-turbo, decoded straight into the engine's pixel order. libjpeg reports
// fatal errors by longjmp; the two functions that call it hold no object with a destructor, so the jump
// back skips nothing but plain data.
#pragma once

#include "platform/PfImage.h"
#include "platform/PfImageInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PfImageDecoderJpeg
{
public:
    static bool IsSignature(const uint8_t* data, size_t size);
    static bool ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error);
    static bool Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error);
};
