// What a reader learns from an image file's header alone.
#pragma once

#include <cstdint>

enum class PfImageFileType : uint32_t
{
    Unknown = 0,
    Png,
    Jpeg,
    Tga,
    Bmp,
    Dds,
};

struct PfImageInfo
{
    uint32_t Width = 0;
    uint32_t Height = 0;
    // Slices of a volume texture (DDS only); 0 for a two-dimensional picture.
    uint32_t Depth = 0;
    PfImageFileType Type = PfImageFileType::Unknown;
};
