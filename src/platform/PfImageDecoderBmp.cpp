#include "platform/PfImageDecoderBmp.h"

#include "platform/PfByteOrder.h"

namespace
{

// File header (14 bytes): "BM", file size, reserved, offset of the pixels. Info header from byte 14:
// size, width (signed), height (signed; negative = top row first), planes, bits, compression, image
// size, resolutions, colours used, colours important; with bit fields the three (four) masks follow.
struct BmpHeader
{
    uint32_t Offset;
    uint32_t InfoSize;
    uint32_t Width;
    uint32_t Height;
    bool TopFirst;
    uint32_t Bits;
    uint32_t Compression;
    uint32_t ColoursUsed;
    uint32_t Masks[4];
};

constexpr uint32_t kFileHeader = 14;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;

bool ParseHeader(const uint8_t* data, size_t size, BmpHeader& h, std::string& error)
{
    if (size < kFileHeader + 40 || data[0] != 'B' || data[1] != 'M')
    {
        error = size >= 2 && data[0] == 'B' && data[1] == 'M' ? "BMP header truncated" : "not a BMP file";
        return false;
    }
    h.Offset = PfByteOrder::Le32(data + 10);
    h.InfoSize = PfByteOrder::Le32(data + 14);
    const int32_t width = (int32_t)PfByteOrder::Le32(data + 18);
    const int32_t height = (int32_t)PfByteOrder::Le32(data + 22);
    h.Bits = PfByteOrder::Le16(data + 28);
    h.Compression = PfByteOrder::Le32(data + 30);
    h.ColoursUsed = PfByteOrder::Le32(data + 46);
    if (h.InfoSize < 40 || h.InfoSize > size - kFileHeader)
    {
        error = "BMP info header truncated";
        return false;
    }
    if (width <= 0 || height == 0 || height == INT32_MIN)
    {
        error = "BMP size out of range";
        return false;
    }
    h.Width = (uint32_t)width;
    h.TopFirst = height < 0;
    h.Height = (uint32_t)(height < 0 ? -height : height);
    if (!(h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 || h.Bits == 24 || h.Bits == 32))
    {
        error = "unsupported BMP pixel depth";
        return false;
    }
    if (!(h.Compression == BI_RGB || (h.Compression == BI_BITFIELDS && (h.Bits == 16 || h.Bits == 32))))
    {
        error = "unsupported BMP compression";
        return false;
    }
    // Default masks: X1R5G5B5 for 16 bits, X8R8G8B8 for 32 bits.
    h.Masks[0] = h.Bits == 16 ? 0x7C00 : 0x00FF0000;
    h.Masks[1] = h.Bits == 16 ? 0x03E0 : 0x0000FF00;
    h.Masks[2] = h.Bits == 16 ? 0x001F : 0x000000FF;
    h.Masks[3] = 0;
    if (h.Compression == BI_BITFIELDS)
    {
        const size_t at = kFileHeader + 40;
        if (size < at + 12)
        {
            error = "BMP bit fields truncated";
            return false;
        }
        for (int i = 0; i < 3; ++i)
            h.Masks[i] = PfByteOrder::Le32(data + at + 4 * i);
        if (h.InfoSize >= 56 && size >= at + 16)
            h.Masks[3] = PfByteOrder::Le32(data + at + 12);
    }
    return true;
}

// A channel of a bit-field pixel scaled to 8 bits.
uint32_t Channel(uint32_t value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    uint32_t shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    uint32_t bits = 0;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1))
        ++bits;
    const uint32_t v = (value & mask) >> shift;
    if (bits >= 8)
        return v >> (bits - 8);
    // Widen by repeating the bits from the top.
    uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += (int)bits)
        out |= (filled + (int)bits <= 8) ? v << (8 - filled - bits) : v >> (filled + bits - 8);
    return out & 0xFF;
}

} // namespace

bool PfImageDecoderBmp::IsSignature(const uint8_t* data, size_t size)
{
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

bool PfImageDecoderBmp::ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error)
{
    info = PfImageInfo();
    BmpHeader h;
    if (!ParseHeader(data, size, h, error))
        return false;
    info.Width = h.Width;
    info.Height = h.Height;
    info.Type = PfImageFileType::Bmp;
    return true;
}

bool PfImageDecoderBmp::Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error)
{
    image.Clear();
    BmpHeader h;
    if (!ParseHeader(data, size, h, error))
        return false;
    if (!PfImage::IsSizeAllowed(h.Width, h.Height))
    {
        error = "BMP size out of range";
        return false;
    }
    uint32_t palette[256] = {};
    if (h.Bits <= 8)
    {
        const uint32_t maximum = 1u << h.Bits;
        const uint32_t count = h.ColoursUsed == 0 || h.ColoursUsed > maximum ? maximum : h.ColoursUsed;
        const size_t at = kFileHeader + h.InfoSize;
        if (at + (size_t)count * 4 > size)
        {
            error = "BMP palette truncated";
            return false;
        }
        for (uint32_t i = 0; i < count; ++i)
            palette[i] = 0xFF000000u | (PfByteOrder::Le32(data + at + 4 * i) & 0xFFFFFF);
    }
    // Rows are padded to four bytes; the whole pixel block must lie inside the file.
    const uint64_t stride = (((uint64_t)h.Width * h.Bits + 31) / 32) * 4;
    if (h.Offset > size || stride * h.Height > size - h.Offset)
    {
        error = "BMP pixel data truncated";
        return false;
    }
    if (!image.Allocate(h.Width, h.Height))
    {
        error = "BMP size out of range";
        return false;
    }
    const bool alpha = h.Masks[3] != 0;
    for (uint32_t row = 0; row < h.Height; ++row)
    {
        const uint8_t* src = data + h.Offset + row * stride;
        const uint32_t y = h.TopFirst ? row : h.Height - 1 - row;
        for (uint32_t x = 0; x < h.Width; ++x)
        {
            uint32_t argb = 0;
            switch (h.Bits)
            {
            case 1:
                argb = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                argb = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                argb = palette[src[x]];
                break;
            case 24:
                argb = 0xFF000000u | ((uint32_t)src[3 * x + 2] << 16) | ((uint32_t)src[3 * x + 1] << 8) | src[3 * x];
                break;
            default:
            {
                const uint32_t v = h.Bits == 16 ? PfByteOrder::Le16(src + 2 * x) : PfByteOrder::Le32(src + 4 * x);
                argb = (Channel(v, h.Masks[0]) << 16) | (Channel(v, h.Masks[1]) << 8) | Channel(v, h.Masks[2]);
                argb |= alpha ? Channel(v, h.Masks[3]) << 24 : 0xFF000000u;
                break;
            }
            }
            image.SetPixel(x, y, argb);
        }
    }
    return true;
}
