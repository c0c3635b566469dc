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
    Put32(v, 54 + stride * h);
    Put32(v, 0);
    Put32(v, 54);
    Put32(v, 40);
    Put32(v, w);
    Put32(v, h);
    Put16(v, 1);
    Put16(v, 24);
    for (int i = 0; i < 6; ++i)
        Put32(v, 0);
    for (uint32_t row = 0; row < h; ++row)
    {
        const uint32_t y = h - 1 - row;
        for (uint32_t x = 0; x < w; ++x)
        {
            const uint32_t p = image.GetPixel(x, y);
            v.push_back((uint8_t)p);
            v.push_back((uint8_t)(p >> 8));
            v.push_back((uint8_t)(p >> 16));
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
    Put16(v, w);
    Put16(v, h);
    v.push_back(32);
    v.push_back(8);
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
    Put32(v, 124);
    Put32(v, 0x1007 | (depth ? 0x800000 : 0));
    Put32(v, h);
    Put32(v, w);
    Put32(v, 0);
    Put32(v, depth);
    Put32(v, 1);
    for (int i = 0; i < 11; ++i)
        Put32(v, 0);
    Put32(v, 32);
    Put32(v, pfFlags);
    Put32(v, fourCC);
    Put32(v, bits);
    Put32(v, r);
    Put32(v, g);
    Put32(v, b);
    Put32(v, a);
    for (int i = 0; i < 5; ++i)
        Put32(v, 0);
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
    {
        Put16(v, 10 * i);
        Put16(v, 2 * i);
        Put16(v, i + 3);
        Put16(v, 0xEEEE);
    }
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
