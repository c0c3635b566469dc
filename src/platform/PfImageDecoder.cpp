#include "platform/PfImageDecoder.h"

#include "platform/PfImageDecoderBmp.h"
#include "platform/PfImageDecoderDds.h"
#include "platform/PfImageDecoderJpeg.h"
#include "platform/PfImageDecoderPng.h"
#include "platform/PfImageDecoderTga.h"

PfImageFileType PfImageDecoder::DetectType(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return PfImageFileType::Unknown;
    if (PfImageDecoderPng::IsSignature(data, size))
        return PfImageFileType::Png;
    if (PfImageDecoderJpeg::IsSignature(data, size))
        return PfImageFileType::Jpeg;
    if (PfImageDecoderDds::IsSignature(data, size))
        return PfImageFileType::Dds;
    if (PfImageDecoderBmp::IsSignature(data, size))
        return PfImageFileType::Bmp;
    PfImageInfo info;
    std::string error;
    if (PfImageDecoderTga::ReadInfo(data, size, info, error))
        return PfImageFileType::Tga;
    return PfImageFileType::Unknown;
}

bool PfImageDecoder::ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error)
{
    info = PfImageInfo();
    switch (DetectType(data, size))
    {
    case PfImageFileType::Png:
        return PfImageDecoderPng::ReadInfo(data, size, info, error);
    case PfImageFileType::Jpeg:
        return PfImageDecoderJpeg::ReadInfo(data, size, info, error);
    case PfImageFileType::Dds:
        return PfImageDecoderDds::ReadInfo(data, size, info, error);
    case PfImageFileType::Bmp:
        return PfImageDecoderBmp::ReadInfo(data, size, info, error);
    case PfImageFileType::Tga:
        return PfImageDecoderTga::ReadInfo(data, size, info, error);
    default:
        error = "unknown image format";
        return false;
    }
}

bool PfImageDecoder::Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error)
{
    image.Clear();
    switch (DetectType(data, size))
    {
    case PfImageFileType::Png:
        return PfImageDecoderPng::Decode(data, size, image, error);
    case PfImageFileType::Jpeg:
        return PfImageDecoderJpeg::Decode(data, size, image, error);
    case PfImageFileType::Dds:
        return PfImageDecoderDds::Decode(data, size, image, error);
    case PfImageFileType::Bmp:
        return PfImageDecoderBmp::Decode(data, size, image, error);
    case PfImageFileType::Tga:
        return PfImageDecoderTga::Decode(data, size, image, error);
    default:
        error = "unknown image format";
        return false;
    }
}
