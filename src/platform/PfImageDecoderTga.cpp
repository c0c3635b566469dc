#include "platform/PfImageDecoderTga.h"

#include "platform/PfByteOrder.h"

namespace
{

// Header layout (little-endian): 0 id length, 1 colour-map type, 2 image type, 3-7 colour-map spec,
// 8-11 origin, 12-13 width, 14-15 height, 16 bits per pixel, 17 descriptor (bits 0-3 alpha bits,
// bit 5 set = top row first).
struct TgaHeader
{
    uint32_t IdLength;
    uint32_t MapType;
    uint32_t ImageType;
    uint32_t MapLength;
    uint32_t MapEntryBits;
    uint32_t Width;
    uint32_t Height;
    uint32_t Bits;
    uint32_t Descriptor;
};

bool ParseHeader(const uint8_t* data, size_t size, TgaHeader& h, std::string& error)
{
    if (size < PfImageDecoderTga::kHeaderSize)
    {
        error = "TGA header truncated";
        return false;
    }
    h.IdLength = data[0];
    h.MapType = data[1];
    h.ImageType = data[2];
    h.MapLength = PfByteOrder::Le16(data + 5);
    h.MapEntryBits = data[7];
    h.Width = PfByteOrder::Le16(data + 12);
    h.Height = PfByteOrder::Le16(data + 14);
    h.Bits = data[16];
    h.Descriptor = data[17];
    if (h.MapType > 1 || !(h.ImageType == 2 || h.ImageType == 3 || h.ImageType == 10 || h.ImageType == 11))
    {
        error = "unsupported TGA image type";
        return false;
    }
    const bool grey = h.ImageType == 3 || h.ImageType == 11;
    if (grey ? h.Bits != 8 : !(h.Bits == 16 || h.Bits == 24 || h.Bits == 32))
    {
        error = "unsupported TGA pixel depth";
        return false;
    }
    if (h.Width == 0 || h.Height == 0)
    {
        error = "TGA size is zero";
        return false;
    }
    return true;
}

uint32_t ReadPixel(const uint8_t* p, uint32_t bytes)
{
    switch (bytes)
    {
    case 1:
        return 0xFF000000u | ((uint32_t)p[0] << 16) | ((uint32_t)p[0] << 8) | p[0];
    case 2:
    {
        // A1R5G5B5; the top bit is alpha, widened by repeating the high bits.
        const uint32_t v = PfByteOrder::Le16(p);
        const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        const uint32_t a = (v & 0x8000) ? 0xFF : 0;
        return (a << 24) | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
    }
    case 3:
        return 0xFF000000u | ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
    default:
        return ((uint32_t)p[3] << 24) | ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
    }
}

} // namespace

bool PfImageDecoderTga::ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error)
{
    info = PfImageInfo();
    TgaHeader h;
    if (!ParseHeader(data, size, h, error))
        return false;
    info.Width = h.Width;
    info.Height = h.Height;
    info.Type = PfImageFileType::Tga;
    return true;
}

bool PfImageDecoderTga::Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error)
{
    image.Clear();
    TgaHeader h;
    if (!ParseHeader(data, size, h, error))
        return false;
    const uint32_t bytes = h.Bits / 8;
    const bool rle = h.ImageType >= 9;
    size_t at = kHeaderSize + h.IdLength;
    if (h.MapType == 1)
        at += (size_t)h.MapLength * ((h.MapEntryBits + 7) / 8);
    // An uncompressed picture must be in the file whole; a run-length one needs at least a byte per
    // packet, one packet covering at most 128 pixels. Checked before anything is allocated.
    const uint64_t pixels = (uint64_t)h.Width * h.Height;
    const uint64_t remaining = at <= size ? size - at : 0;
    if (at > size || (!rle && pixels * bytes > remaining) || (rle && (pixels + 127) / 128 * (1 + bytes) > remaining))
    {
        error = "TGA data truncated";
        return false;
    }
    if (!image.Allocate(h.Width, h.Height))
    {
        error = "TGA size out of range";
        return false;
    }
    const bool topFirst = (h.Descriptor & 0x20) != 0;
    // Without alpha bits in the descriptor a 32-bit pixel's fourth byte is not alpha.
    const bool opaque = h.Bits == 32 && (h.Descriptor & 0x0F) == 0;
    uint64_t index = 0;
    auto put = [&](uint32_t argb)
    {
        const uint32_t y = (uint32_t)(index / h.Width), x = (uint32_t)(index % h.Width);
        image.SetPixel(x, topFirst ? y : h.Height - 1 - y, opaque ? (argb | 0xFF000000u) : argb);
        ++index;
    };
    if (!rle)
    {
        while (index < pixels)
            put(ReadPixel(data + at + index * bytes, bytes));
        return true;
    }
    while (index < pixels)
    {
        if (at >= size)
        {
            error = "TGA data truncated";
            image.Clear();
            return false;
        }
        const uint32_t packet = data[at++];
        const uint32_t count = (packet & 0x7F) + 1;
        if (count > pixels - index)
        {
            error = "TGA run beyond the picture";
            image.Clear();
            return false;
        }
        if (packet & 0x80)
        {
            if (size - at < bytes)
            {
                error = "TGA data truncated";
                image.Clear();
                return false;
            }
            const uint32_t v = ReadPixel(data + at, bytes);
            at += bytes;
            for (uint32_t i = 0; i < count; ++i)
                put(v);
        }
        else
        {
            if ((size - at) / bytes < count)
            {
                error = "TGA data truncated";
                image.Clear();
                return false;
            }
            for (uint32_t i = 0; i < count; ++i, at += bytes)
                put(ReadPixel(data + at, bytes));
        }
    }
    return true;
}
