#include "platform/PfImageDecoderPng.h"

#include <png.h>

#include <cstring>

namespace
{

const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(const uint8_t* p)
{
    return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | p[3];
}

} // namespace

bool PfImageDecoderPng::IsSignature(const uint8_t* data, size_t size)
{
    return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

bool PfImageDecoderPng::ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error)
{
    info = PfImageInfo();
    if (!IsSignature(data, size))
    {
        error = "not a PNG file";
        return false;
    }
    if (size < kMinimumSize)
    {
        error = "PNG header truncated";
        return false;
    }
    info.Width = BigEndian32(data + 16);
    info.Height = BigEndian32(data + 20);
    info.Type = PfImageFileType::Png;
    return true;
}

bool PfImageDecoderPng::Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error)
{
    image.Clear();
    PfImageInfo info;
    if (!ReadInfo(data, size, info, error))
        return false;
    if (!PfImage::IsSizeAllowed(info.Width, info.Height))
    {
        error = "PNG size out of range";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size))
    {
        error = png.message;
        png_image_free(&png);
        return false;
    }
    // The chunk may disagree with what was checked above only if the header lied; check what libpng read.
    if (!PfImage::IsSizeAllowed(png.width, png.height))
    {
        error = "PNG size out of range";
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_BGRA;
    if (!image.AllocateUncleared(png.width, png.height))
    {
        error = "out of memory";
        png_image_free(&png);
        return false;
    }
    if (!png_image_finish_read(&png, nullptr, image.GetData(), (png_int_32)image.GetPitch(), nullptr))
    {
        error = png.message;
        png_image_free(&png);
        image.Clear();
        return false;
    }
    png_image_free(&png);
    return true;
}
