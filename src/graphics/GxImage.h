// Image files for the graphics loaders: sizes read from headers, whole pictures decoded into processor
// memory (the scratch surface of every image load), and 32-bit pixels written as PNG (the save
// thumbnails). Files are read through GxFile, so a name may be a loose file or an entry of a pack.
#pragma once

#include "platform/PfD3DTypes.h"
#include "platform/PfImage.h"

#include <cstdint>
#include <string>

// Width, height and depth (0 for two-dimensional pictures) of an image file.
struct GxImageInfo
{
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t Depth = 0;
};

class GxImage
{
public:
    // PNG and DDS sizes come from the first 32 or 128 bytes of the file; other types are read whole
    // (through the file cache) and asked of their reader.
    static bool GetInfoFromFile(const std::wstring& fileName, GxImageInfo& info);
    static bool GetInfoFromMemory(const void* data, uint32_t size, uint32_t* width, uint32_t* height);
    // Decodes the whole file into image, a picture of the file's own size in 32-bit pixels (the format
    // is the one the texture will convert to; the picture itself stays 32-bit). Pixels equal to the
    // colour key (ARGB, 0 = none) become transparent black. On failure the image is empty.
    static bool CreateScratchSurfaceFromFile(const std::wstring& fileName, PfImage& image, D3DFORMAT format,
                                             GxImageInfo* info, uint32_t colourKey);
    // Decodes a picture already in memory (as a whole file) with the colour key; logs nothing.
    static bool DecodeMemory(const void* data, uint32_t size, PfImage& image, uint32_t colourKey, std::string& error);
    // Pixels are width x height x 4 bytes, blue, green, red, alpha, rows top first. 1 on success, 0 on
    // failure (no log line).
    static int SaveToPNG(const std::wstring& fileName, uint32_t width, uint32_t height, const void* pixels);
    static void ApplyColourKey(PfImage& image, uint32_t colourKey);
    // A file name in the form the operating system takes (UTF-8, '/' separated).
    static std::string ToSystemPath(const std::wstring& fileName);
};
