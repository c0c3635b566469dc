#include "graphics/GxPixelFormat.h"

#include "core/GxColor.h"

#include <cstring>

uint32_t GxPixelFormat::GetBytes(D3DFORMAT format)
{
    switch (format)
    {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 4;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_R5G6B5:
        return 2;
    default:
        return 0;
    }
}

void GxPixelFormat::FromArgbRow(uint8_t* dest, D3DFORMAT format, const uint8_t* source, uint32_t count)
{
    if (Is32Bit(format))
    {
        std::memcpy(dest, source, (size_t)count * 4);
        return;
    }
    for (uint32_t i = 0; i < count; ++i, source += 4, dest += 2)
    {
        const uint32_t b = source[0], g = source[1], r = source[2], a = source[3];
        uint16_t v = 0;
        switch (format)
        {
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4:
            v = GxColor::ToA4R4G4B4((a << 24) | (r << 16) | (g << 8) | b);
            break;
        case D3DFMT_A1R5G5B5:
        case D3DFMT_X1R5G5B5:
            v = (uint16_t)(((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
            break;
        case D3DFMT_R5G6B5:
            v = (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
            break;
        default:
            break;
        }
        dest[0] = (uint8_t)v;
        dest[1] = (uint8_t)(v >> 8);
    }
}

uint32_t GxPixelFormat::ToArgb(const uint8_t* pixel, D3DFORMAT format)
{
    if (Is32Bit(format))
    {
        uint32_t v;
        std::memcpy(&v, pixel, 4);
        return v;
    }
    const uint16_t v = (uint16_t)(pixel[0] | (pixel[1] << 8));
    switch (format)
    {
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
        return GxColor::FromA4R4G4B4(v);
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X1R5G5B5:
    {
        const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return ((v & 0x8000) ? 0xFF000000u : 0) | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) |
               ((b << 3) | (b >> 2));
    }
    case D3DFMT_R5G6B5:
    {
        const uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        return 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
    }
    default:
        return 0;
    }
}
