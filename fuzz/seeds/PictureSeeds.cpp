#include "PictureSeeds.h"

namespace
{
class Bytes
{
public:
    Bytes& U8(uint32_t v)
    {
        m_Data.push_back(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    Bytes& U32(uint32_t v) { return U16(v).U16(v >> 16); }
    Bytes& Text(const char* s)
    {
        m_Data += s;
        return *this;
    }
    Bytes& Fill(size_t n, uint8_t v)
    {
        m_Data.append(n, static_cast<char>(v));
        return *this;
    }
    std::string m_Data;
};

constexpr uint32_t kSide = 8;

// A DDS of kSide x kSide: fourCC 0 means 32-bit uncompressed (A8R8G8B8 masks).
std::string Dds(const char* fourCC, uint32_t blockBytes)
{
    Bytes b;
    const bool compressed = fourCC != nullptr;
    b.Text("DDS ").U32(124);
    b.U32(compressed ? 0x81007 : 0x100F); // caps, height, width, pixel format, linear size or pitch
    b.U32(kSide).U32(kSide);
    b.U32(compressed ? (kSide / 4) * (kSide / 4) * blockBytes : kSide * 4);
    b.U32(0).U32(1);      // depth, mip levels
    b.Fill(11 * 4, 0);    // reserved
    b.U32(32);            // pixel format size
    b.U32(compressed ? 0x4 : 0x41); // FOURCC, or RGB with alpha
    if (compressed)
        b.Text(fourCC).U32(0).U32(0).U32(0).U32(0).U32(0);
    else
        b.U32(0).U32(32).U32(0x00FF0000).U32(0x0000FF00).U32(0x000000FF).U32(0xFF000000);
    b.U32(0x1000).U32(0).U32(0).U32(0).U32(0); // caps: texture
    if (compressed)
    {
        for (uint32_t block = 0; block < (kSide / 4) * (kSide / 4); ++block)
        {
            if (blockBytes == 16)
                b.U32(0xFFFF0000u + block).U32(0x12345678u); // the alpha half
            b.U16(0xF800).U16(0x001F).U32(0xE4E4E4E4u ^ block);
        }
    }
    else
        for (uint32_t i = 0; i < kSide * kSide; ++i)
            b.U32(0xFF000000u | (i * 0x030507u));
    return b.m_Data;
}

// A TGA of kSide x kSide: type 2 true colour, 10 run-length true colour, 3 grey, 1 colour-mapped.
std::string Tga(uint8_t type, uint8_t bits, bool topFirst)
{
    Bytes b;
    const bool mapped = type == 1;
    b.U8(0).U8(mapped ? 1 : 0).U8(type);
    b.U16(0).U16(mapped ? 4 : 0).U8(mapped ? 24 : 0); // colour map: first, length, entry bits
    b.U16(0).U16(0).U16(kSide).U16(kSide).U8(bits).U8((topFirst ? 0x20 : 0) | (bits == 32 ? 8 : 0));
    if (mapped)
        for (uint32_t i = 0; i < 4; ++i)
            b.U8(i * 60).U8(255 - i * 60).U8(128);
    const uint32_t bytes = bits / 8;
    if (type == 10)
    {
        for (uint32_t row = 0; row < kSide; ++row)
        {
            b.U8(0x80 | 3); // a run of 4
            b.Fill(bytes, static_cast<uint8_t>(row * 30));
            b.U8(3); // 4 raw pixels
            for (uint32_t i = 0; i < 4; ++i)
                b.Fill(bytes, static_cast<uint8_t>(i * 50 + row));
        }
    }
    else
        for (uint32_t i = 0; i < kSide * kSide; ++i)
            b.Fill(bytes, static_cast<uint8_t>(mapped ? i % 4 : i * 3));
    return b.m_Data;
}

// A BMP of kSide x kSide, 24-bit or 8-bit with a grey palette; rows bottom first.
std::string Bmp(uint32_t bits)
{
    const uint32_t palette = bits == 8 ? 256 * 4 : 0;
    const uint32_t rowBytes = (kSide * bits / 8 + 3) & ~3u;
    const uint32_t offset = 14 + 40 + palette;
    Bytes b;
    b.Text("BM").U32(offset + rowBytes * kSide).U32(0).U32(offset);
    b.U32(40).U32(kSide).U32(kSide).U16(1).U16(bits).U32(0).U32(rowBytes * kSide).U32(2835).U32(2835);
    b.U32(bits == 8 ? 256 : 0).U32(0);
    for (uint32_t i = 0; i < palette / 4; ++i)
        b.U8(i).U8(i).U8(i).U8(0);
    for (uint32_t y = 0; y < kSide; ++y)
    {
        for (uint32_t x = 0; x < kSide; ++x)
            b.Fill(bits / 8, static_cast<uint8_t>(x * 30 + y));
        b.Fill(rowBytes - kSide * bits / 8, 0);
    }
    return b.m_Data;
}
} // namespace

std::vector<std::pair<std::string, std::string>> MakePictureSeeds()
{
    return {
        {"argb.dds", Dds(nullptr, 0)},   {"dxt1.dds", Dds("DXT1", 8)},      {"dxt3.dds", Dds("DXT3", 16)},
        {"dxt5.dds", Dds("DXT5", 16)},   {"rgb24.tga", Tga(2, 24, false)}, {"rgba32_top.tga", Tga(2, 32, true)},
        {"rle24.tga", Tga(10, 24, false)}, {"grey.tga", Tga(3, 8, false)}, {"mapped.tga", Tga(1, 8, true)},
        {"rgb24.bmp", Bmp(24)},          {"grey8.bmp", Bmp(8)},
    };
}
