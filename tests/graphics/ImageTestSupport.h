#pragma once

// Test pictures made on the spot: a pattern picture and its encodings as BMP, TGA, DDS (written here
// byte by byte), PNG (the engine's writer) and JPEG (the jpeggen tool); bitmap-font description files.

#include "graphics/GxImage.h"
#include "platform/PfImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kvimg
{

// Red grows to the right, green downwards, blue fixed, opaque.
inline PfImage Pattern(uint32_t width, uint32_t height)
{
    PfImage image;
    image.Allocate(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            image.SetPixel(x, y, 0xFF000000u | ((x * 255 / width) << 16) | ((y * 255 / height) << 8) | 0x40);
    return image;
}

inline void Put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back((uint8_t)x);
    v.push_back((uint8_t)(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// 24-bit bottom-up BMP.
inline std::vector<uint8_t> EncodeBmp(const PfImage& image)
{
    const uint32_t w = image.GetWidth(), h = image.GetHeight();
    const uint32_t stride = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> v = {'B', 'M'};
    for (uint32_t x : {54 + stride * h, 0u, 54u, 40u, w, h, 1u | 24u << 16, 0u, 0u, 0u, 0u, 0u, 0u})
        Put32(v, x);
    for (uint32_t row = 0; row < h; ++row)
    {
        const uint32_t y = h - 1 - row;
        for (uint32_t x = 0; x < w; ++x)
        {
            for (int shift : {0, 8, 16})
                v.push_back((uint8_t)(image.GetPixel(x, y) >> shift));
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad)
            v.push_back(0);
    }
    return v;
}

// 32-bit TGA, bottom-up, run-length encoded when rle is set.
inline std::vector<uint8_t> EncodeTga(const PfImage& image, bool rle = false)
{
    const uint32_t w = image.GetWidth(), h = image.GetHeight();
    std::vector<uint8_t> v = {0, 0, (uint8_t)(rle ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put32(v, w | h << 16);
    Put16(v, 32 | 8 << 8);
    for (uint32_t row = 0; row < h; ++row)
    {
        const uint32_t y = h - 1 - row;
        for (uint32_t x = 0; x < w; ++x)
        {
            if (rle)
                v.push_back(0); // a raw packet of one pixel
            Put32(v, image.GetPixel(x, y));
        }
    }
    return v;
}

inline std::vector<uint8_t> DdsHeader(uint32_t w, uint32_t h, uint32_t pfFlags, uint32_t fourCC, uint32_t bits,
                                      uint32_t r, uint32_t g, uint32_t b, uint32_t a, uint32_t depth = 0)
{
    std::vector<uint8_t> v = {'D', 'D', 'S', ' '};
    for (uint32_t x : {124u, 0x1007u | (depth ? 0x800000u : 0u), h, w, 0u, depth, 1u})
        Put32(v, x);
    v.resize(v.size() + 44); // reserved
    for (uint32_t x : {32u, pfFlags, fourCC, bits, r, g, b, a, 0u, 0u, 0u, 0u, 0u})
        Put32(v, x);
    return v;
}

// Uncompressed 32-bit A8R8G8B8 DDS.
inline std::vector<uint8_t> EncodeDds(const PfImage& image)
{
    std::vector<uint8_t> v =
        DdsHeader(image.GetWidth(), image.GetHeight(), 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
    v.insert(v.end(), image.GetData(), image.GetData() + (size_t)image.GetPitch() * image.GetHeight());
    return v;
}

// A bitmap-font description file: a 96-byte header (codes first..last, cells 12 x 20, a picture of 256 x 128,
// the name "FILEFONT") and entries whose glyph i lies at (10 i, 2 i) and is i + 3 wide.
inline std::vector<uint8_t> FontDescription(uint32_t first, uint32_t last, size_t entries)
{
    std::vector<uint8_t> v(16, 0);
    Put32(v, first);
    Put32(v, last);
    v.resize(40);
    for (uint32_t x : {12u, 20u, 0u, 256u, 128u})
        Put32(v, x);
    v.resize(64);
    for (const wchar_t* c = L"FILEFONT"; *c; ++c)
        Put16(v, (uint32_t)*c);
    v.resize(96);
    for (uint32_t i = 0; i < entries; ++i)
        for (uint32_t x : {10 * i, 2 * i, i + 3, 0xEEEEu})
            Put16(v, x);
    return v;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), (std::streamsize)bytes.size());
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool WritePng(const std::string& path, const PfImage& image)
{
    return GxImage::SaveToPNG(std::wstring(path.begin(), path.end()), image.GetWidth(), image.GetHeight(),
                              image.GetData()) == 1;
}

inline bool WriteJpeg(const std::string& path, uint32_t width, uint32_t height)
{
    const char* tools = std::getenv("KV_TOOLS_DIR");
    if (!tools)
        return false;
    const std::string command = std::string(tools) + "/jpeggen " + path + " " + std::to_string(width) + " " +
                                std::to_string(height) + " > /dev/null";
    return std::system(command.c_str()) == 0;
}

inline std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

} // namespace kvimg
