#include "platform/PfImageDecoderDds.h"

#include "platform/PfByteOrder.h"

namespace
{

// Header fields after the magic, little-endian u32 at these file offsets: 12 height, 16 width,
// 24 depth; the pixel format at 76: 80 flags, 84 four-character code, 88 bit count, 92-104 the red,
// green, blue and alpha masks.
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_RGB = 0x40;
constexpr uint32_t DDPF_LUMINANCE = 0x20000;

uint32_t FourCC(char a, char b, char c, char d)
{
    return (uint32_t)(uint8_t)a | ((uint32_t)(uint8_t)b << 8) | ((uint32_t)(uint8_t)c << 16) |
           ((uint32_t)(uint8_t)d << 24);
}

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
    const uint32_t maximum = (1u << bits) - 1;
    return (v * 255 + maximum / 2) / maximum;
}

uint32_t Rgb565(uint32_t c)
{
    const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb, uint32_t d)
{
    uint32_t out = 0;
    for (int s = 0; s < 24; s += 8)
        out |= ((((a >> s) & 0xFF) * wa + ((b >> s) & 0xFF) * wb) / d) << s;
    return out;
}

// The colour part of every DXT block: two RGB565 end points and sixteen 2-bit indices. In DXT1 a first
// end point not above the second selects the three-colour mode with transparent black as index 3.
void DecodeColourBlock(const uint8_t* block, bool dxt1, uint32_t out[16])
{
    const uint32_t c0 = PfByteOrder::Le16(block), c1 = PfByteOrder::Le16(block + 2);
    uint32_t colours[4];
    colours[0] = 0xFF000000u | Rgb565(c0);
    colours[1] = 0xFF000000u | Rgb565(c1);
    if (c0 > c1 || !dxt1)
    {
        colours[2] = 0xFF000000u | Mix(colours[0], colours[1], 2, 1, 3);
        colours[3] = 0xFF000000u | Mix(colours[0], colours[1], 1, 2, 3);
    }
    else
    {
        colours[2] = 0xFF000000u | Mix(colours[0], colours[1], 1, 1, 2);
        colours[3] = 0;
    }
    const uint32_t indices = PfByteOrder::Le32(block + 4);
    for (int i = 0; i < 16; ++i)
        out[i] = colours[(indices >> (2 * i)) & 3];
}

void DecodeAlphaExplicit(const uint8_t* block, uint32_t out[16])
{
    for (int i = 0; i < 16; ++i)
    {
        const uint32_t a = (block[i / 2] >> ((i & 1) * 4)) & 15;
        out[i] = (out[i] & 0xFFFFFF) | ((a * 17) << 24);
    }
}

void DecodeAlphaInterpolated(const uint8_t* block, uint32_t out[16])
{
    uint32_t a[8];
    a[0] = block[0];
    a[1] = block[1];
    if (a[0] > a[1])
        for (int i = 1; i < 7; ++i)
            a[i + 1] = ((7 - i) * a[0] + i * a[1]) / 7;
    else
    {
        for (int i = 1; i < 5; ++i)
            a[i + 1] = ((5 - i) * a[0] + i * a[1]) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= (uint64_t)block[2 + i] << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[i] = (out[i] & 0xFFFFFF) | (a[(bits >> (3 * i)) & 7] << 24);
}

} // namespace

bool PfImageDecoderDds::IsSignature(const uint8_t* data, size_t size)
{
    return size >= 4 && PfByteOrder::Le32(data) == FourCC('D', 'D', 'S', ' ');
}

bool PfImageDecoderDds::ReadInfo(const uint8_t* data, size_t size, PfImageInfo& info, std::string& error)
{
    info = PfImageInfo();
    if (!IsSignature(data, size))
    {
        error = "not a DDS file";
        return false;
    }
    if (size < kHeaderSize)
    {
        error = "DDS header truncated";
        return false;
    }
    info.Height = PfByteOrder::Le32(data + 12);
    info.Width = PfByteOrder::Le32(data + 16);
    info.Depth = PfByteOrder::Le32(data + 24);
    info.Type = PfImageFileType::Dds;
    return true;
}

bool PfImageDecoderDds::Decode(const uint8_t* data, size_t size, PfImage& image, std::string& error)
{
    image.Clear();
    PfImageInfo info;
    if (!ReadInfo(data, size, info, error))
        return false;
    if (!PfImage::IsSizeAllowed(info.Width, info.Height))
    {
        error = "DDS size out of range";
        return false;
    }
    const uint32_t flags = PfByteOrder::Le32(data + 80);
    const uint32_t fourCC = PfByteOrder::Le32(data + 84);
    const uint32_t bitCount = PfByteOrder::Le32(data + 88);
    const uint32_t masks[4] = {PfByteOrder::Le32(data + 92), PfByteOrder::Le32(data + 96),
                               PfByteOrder::Le32(data + 100), PfByteOrder::Le32(data + 104)};
    const uint8_t* pixels = data + kHeaderSize;
    const uint64_t available = size - kHeaderSize;
    const uint32_t w = info.Width, h = info.Height;

    if (flags & DDPF_FOURCC)
    {
        int kind = 0;
        if (fourCC == FourCC('D', 'X', 'T', '1'))
            kind = 1;
        else if (fourCC == FourCC('D', 'X', 'T', '2') || fourCC == FourCC('D', 'X', 'T', '3'))
            kind = 3;
        else if (fourCC == FourCC('D', 'X', 'T', '4') || fourCC == FourCC('D', 'X', 'T', '5'))
            kind = 5;
        if (kind == 0)
        {
            error = "unsupported DDS compression";
            return false;
        }
        const uint32_t blockBytes = kind == 1 ? 8 : 16;
        const uint64_t bx = (w + 3) / 4, by = (h + 3) / 4;
        if (bx * by * blockBytes > available)
        {
            error = "DDS data truncated";
            return false;
        }
        if (!image.Allocate(w, h))
        {
            error = "DDS size out of range";
            return false;
        }
        const uint8_t* block = pixels;
        for (uint32_t y0 = 0; y0 < h; y0 += 4)
            for (uint32_t x0 = 0; x0 < w; x0 += 4, block += blockBytes)
            {
                uint32_t texels[16];
                DecodeColourBlock(block + (kind == 1 ? 0 : 8), kind == 1, texels);
                if (kind == 3)
                    DecodeAlphaExplicit(block, texels);
                else if (kind == 5)
                    DecodeAlphaInterpolated(block, texels);
                for (uint32_t i = 0; i < 16; ++i)
                {
                    const uint32_t x = x0 + (i & 3), y = y0 + (i >> 2);
                    if (x < w && y < h)
                        image.SetPixel(x, y, texels[i]);
                }
            }
        return true;
    }
    if (!(flags & (DDPF_RGB | DDPF_LUMINANCE)) ||
        !(bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32))
    {
        error = "unsupported DDS pixel format";
        return false;
    }
    const uint32_t bytes = bitCount / 8;
    // A pitch-less file is packed: rows of width x bytes.
    if ((uint64_t)w * h * bytes > available)
    {
        error = "DDS data truncated";
        return false;
    }
    if (!image.Allocate(w, h))
    {
        error = "DDS size out of range";
        return false;
    }
    const bool alpha = (flags & DDPF_ALPHAPIXELS) != 0 && masks[3] != 0;
    const bool luminance = (flags & DDPF_LUMINANCE) != 0;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
        {
            const uint8_t* p = pixels + ((size_t)y * w + x) * bytes;
            uint32_t v = 0;
            for (uint32_t b = 0; b < bytes; ++b)
                v |= (uint32_t)p[b] << (8 * b);
            uint32_t argb;
            if (luminance)
            {
                const uint32_t l = Channel(v, masks[0]);
                argb = (l << 16) | (l << 8) | l;
            }
            else
                argb = (Channel(v, masks[0]) << 16) | (Channel(v, masks[1]) << 8) | Channel(v, masks[2]);
            argb |= alpha ? Channel(v, masks[3]) << 24 : 0xFF000000u;
            image.SetPixel(x, y, argb);
        }
    return true;
}
