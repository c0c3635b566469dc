// The image readers behind one door: the file type is told from the content (signatures of PNG, JPEG,
// DDS and BMP; TGA, which has none, last), never from the file name, so a PNG named ".jpg" still loads.
#pragma once

#include "platform/PfImage.h"
#include "platform/PfImageInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PfImageDecoder
{
public:
    static PfImageFileType DetectType(const uint8_t* data, size_t size);
    static bool ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error);
    // On failure the image is empty and error says why.
    static bool Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error);
};
