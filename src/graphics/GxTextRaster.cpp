#include "graphics/GxTextRaster.h"

#include "core/GxString.h"
#include "graphics/GxPackedFont.h"
#include "platform/PfFontFace.h"

#include <algorithm>
#include <cstring>

namespace
{

// Scratch glyph, reused: text is drawn on the main thread only.
PfGlyphBitmap s_Glyph;
std::vector<uint8_t> s_Layer;

inline uint32_t Alpha16(uint32_t alpha, uint32_t rgb)
{
    return ((alpha >> 4) << 12) | (((rgb >> 20) & 0xF) << 8) | (((rgb >> 12) & 0xF) << 4) | ((rgb >> 4) & 0xF);
}

} // namespace

uint8_t GxTextRaster::GetAlpha(uint32_t gray)
{
    if (gray > 64)
        gray = 64;
    return (uint8_t)std::min<uint32_t>(255, gray * 255 / 52);
}

void GxTextRaster::PutPixel(const GxTextSurface& s, int32_t x, int32_t y, uint32_t alpha, uint32_t rgb)
{
    if (x < 0 || y < 0 || (uint32_t)x >= s.m_Width || (uint32_t)y >= s.m_Height)
        return;
    uint8_t* row = s.m_Bits + (size_t)y * s.m_Pitch;
    if (s.m_Format == D3DFMT_A8R8G8B8)
    {
        const uint32_t v = (alpha << 24) | (rgb & 0xFFFFFF);
        std::memcpy(row + (size_t)x * 4, &v, 4);
    }
    else
    {
        const uint16_t v = (uint16_t)Alpha16(alpha, rgb);
        std::memcpy(row + (size_t)x * 2, &v, 2);
    }
}

void GxTextRaster::BlendGlyph(const GxTextSurface& s, const uint8_t* gray, int32_t pitch, int32_t width,
                              int32_t height, int32_t left, int32_t top, uint32_t color)
{
    if (!s.IsWritable() || !gray)
        return;
    // Clip the box on all four sides; what lies outside the surface is never written.
    const int32_t x0 = std::max(0, -left);
    const int32_t y0 = std::max(0, -top);
    const int32_t x1 = std::min(width, (int32_t)s.m_Width - left);
    const int32_t y1 = std::min(height, (int32_t)s.m_Height - top);
    for (int32_t gy = y0; gy < y1; ++gy)
    {
        const uint8_t* src = gray + (size_t)gy * pitch;
        for (int32_t gx = x0; gx < x1; ++gx)
            PutPixel(s, left + gx, top + gy, GetAlpha(src[gx]), color);
    }
}

bool GxTextRaster::DrawGlyph(const GxTextSurface& surface, const std::wstring& face, wchar_t c, int32_t x,
                             int32_t y, int32_t size, uint32_t color)
{
    size = std::min(size, MAX_FONT_SIZE);
    PfFontFace* font = PfFontFace::Get(face, size);
    if (!font)
        return false;
    if (c == 0x3000 || c == 0x20)
        return true;
    if (!font->RenderGlyph((uint32_t)c, s_Glyph) || s_Glyph.Gray.empty())
        return true;
    BlendGlyph(surface, s_Glyph.Gray.data(), s_Glyph.Pitch, s_Glyph.Width, s_Glyph.Height, x + s_Glyph.OriginX,
               y + font->GetAscent() - s_Glyph.OriginY, color);
    return true;
}

void GxTextRaster::DrawText(const GxTextSurface& surface, const std::wstring& face, const std::wstring& text,
                            int32_t x, int32_t y, int32_t size, uint32_t color, int32_t* endX, int32_t* endY)
{
    size = std::min(size, MAX_FONT_SIZE);
    if (endY)
        *endY = y;
    if (!PfFontFace::Get(face, size))
    {
        if (endX)
            *endX = x;
        return;
    }
    for (wchar_t c : text)
    {
        if (c == 0)
            break;
        DrawGlyph(surface, face, c, x, y, size, color);
        x += GxString::GetCharWidthUnits(c) * size / 2;
    }
    if (endX)
        *endX = x;
}

void GxTextRaster::DrawTextWrapped(const GxTextSurface& surface, const std::wstring& face, const std::wstring& text,
                                   int32_t x, int32_t y, int32_t lineStartX, int32_t size, int32_t lineUnits,
                                   uint32_t color, int32_t charSpacing, int32_t lineSpacing, int32_t* endX,
                                   int32_t* endY, wchar_t lineBreak)
{
    size = std::min(size, MAX_FONT_SIZE);
    if (!PfFontFace::Get(face, size))
    {
        if (endX)
            *endX = x;
        if (endY)
            *endY = y;
        return;
    }
    int32_t units = 0;
    for (wchar_t c : text)
    {
        if (c == 0)
            break;
        const int32_t u = GxString::GetCharWidthUnits(c);
        if (u == 1 && c == lineBreak)
        {
            y += size + lineSpacing;
            x = lineStartX;
            units = 0;
            continue;
        }
        if (units >= lineUnits)
        {
            y += size + lineSpacing;
            x = lineStartX;
            units = 0;
        }
        DrawGlyph(surface, face, c, x, y, size, color);
        units += u;
        x += u * size / 2 + charSpacing;
    }
    if (endX)
        *endX = x;
    if (endY)
        *endY = y;
}

uint32_t GxTextRaster::PackedCode(wchar_t c, uint32_t& units)
{
    const std::string mb = GxString::ToMultiByte(std::wstring(1, c));
    if (mb.size() >= 2)
    {
        units = 2;
        return ((uint32_t)(uint8_t)mb[0] << 8) | (uint8_t)mb[1];
    }
    units = 1;
    return mb.empty() ? 0 : (uint8_t)mb[0];
}

bool GxTextRaster::DrawPackedGlyph(const GxTextSurface& s, const GxPackedFont& font, uint32_t index, uint32_t units,
                                   int32_t x, int32_t y, uint32_t color, uint32_t style, uint32_t edgeColor)
{
    const int32_t h = (int32_t)font.GetCellHeight();
    const uint32_t columns = font.GetColumns();
    const uint8_t* pixels = font.GetPixels();
    if (!s.IsWritable() || !pixels || h <= 0 || columns == 0 || index >= font.GetGlyphCount())
        return false;
    const int32_t w = h / 2 * (int32_t)units;
    const uint64_t sx = (uint64_t)(index % columns) * (uint32_t)(h / 2);
    const uint64_t sy = (uint64_t)(index / columns) * (uint32_t)h;
    const uint64_t pitch = font.GetPitch();
    // The glyph's last pixel must lie inside the pixel data.
    if (w <= 0 || sx + w > pitch || ((sy + h - 1) * pitch + sx + w - 1) / 2 >= font.GetPixelBytes())
        return false;
    auto value = [&](int32_t gx, int32_t gy) -> uint32_t {
        const uint64_t p = (sy + gy) * pitch + sx + gx;
        const uint8_t b = pixels[p / 2];
        return (p & 1) ? (b >> 4) : (b & 0xF);
    };
    if (style == PACKED_PLAIN)
    {
        for (int32_t gy = 0; gy < h; ++gy)
            for (int32_t gx = 0; gx < w; ++gx)
                PutPixel(s, x + gx, y + gy, value(gx, gy) * 0x11, color);
        return true;
    }
    // Glow and edge: the glyph copied into a layer with a 2-pixel margin, then spread into a second layer.
    const int32_t lw = w + 4, lh = h + 4;
    s_Layer.assign((size_t)lw * lh * 2, 0);
    uint8_t* glyph = s_Layer.data();
    uint8_t* spread = glyph + (size_t)lw * lh;
    for (int32_t gy = 0; gy < h; ++gy)
        for (int32_t gx = 0; gx < w; ++gx)
            glyph[(size_t)(gy + 2) * lw + gx + 2] = (uint8_t)value(gx, gy);
    auto at = [&](int32_t lx, int32_t ly) -> int32_t {
        return (lx < 0 || ly < 0 || lx >= lw || ly >= lh) ? 0 : glyph[(size_t)ly * lw + lx];
    };
    for (int32_t ly = 0; ly < lh; ++ly)
        for (int32_t lx = 0; lx < lw; ++lx)
        {
            int32_t v;
            if (style == PACKED_GLOW)
                v = (at(lx - 1, ly - 1) >> 2) + (at(lx, ly - 1) >> 1) + (at(lx + 1, ly - 1) >> 2) +
                    (at(lx - 1, ly) >> 1) + 2 * at(lx, ly) + (at(lx + 1, ly) >> 1) + (at(lx - 1, ly + 1) >> 2) +
                    (at(lx, ly + 1) >> 1) + (at(lx + 1, ly + 1) >> 2);
            else
                v = (at(lx, ly - 2) >> 1) + (at(lx, ly + 2) >> 1) + (at(lx - 2, ly) >> 1) + (at(lx + 2, ly) >> 1) +
                    2 * at(lx, ly) + at(lx - 1, ly - 1) + at(lx, ly - 1) + at(lx + 1, ly - 1) + at(lx - 1, ly) +
                    at(lx + 1, ly) + at(lx - 1, ly + 1) + at(lx, ly + 1) + at(lx + 1, ly + 1);
            spread[(size_t)ly * lw + lx] = (uint8_t)std::min(15, v / 2);
        }
    for (int32_t ly = 0; ly < lh; ++ly)
        for (int32_t lx = 0; lx < lw; ++lx)
        {
            const uint32_t a = spread[(size_t)ly * lw + lx];
            // The margin keeps what neighbouring glyphs left there unless this glyph reaches it.
            const bool inBox = lx >= 2 && ly >= 2 && lx < w + 2 && ly < h + 2;
            if (a == 0 && !inBox)
                continue;
            uint32_t rgb = color & 0xFFFFFF;
            if (style == PACKED_EDGE)
            {
                const uint32_t g = (uint32_t)at(lx, ly);
                rgb = 0;
                for (int shift = 0; shift <= 16; shift += 8)
                {
                    const uint32_t t = (color >> shift) & 0xFF;
                    const uint32_t e = (edgeColor >> shift) & 0xFF;
                    rgb |= ((g * t + (15 - g) * e) / 15) << shift;
                }
            }
            PutPixel(s, x - 2 + lx, y - 2 + ly, a * 0x11, rgb);
        }
    return true;
}

void GxTextRaster::DrawPackedText(const GxTextSurface& surface, const GxPackedFont& font, const std::wstring& text,
                                  int32_t x, int32_t y, uint32_t color, int32_t* endX, int32_t* endY, uint32_t style,
                                  uint32_t edgeColor)
{
    const int32_t h = (int32_t)font.GetCellHeight();
    for (wchar_t c : text)
    {
        if (c == 0)
            break;
        uint32_t units = 1;
        const uint32_t index = font.GetGlyphIndex(PackedCode(c, units));
        if (index < font.GetGlyphCount())
            DrawPackedGlyph(surface, font, index, units, x, y, color, style, edgeColor);
        x += (int32_t)units * h / 2;
    }
    if (endX)
        *endX = x;
    if (endY)
        *endY = y;
}

void GxTextRaster::DrawPackedTextWrapped(const GxTextSurface& surface, const GxPackedFont& font,
                                         const std::wstring& text, int32_t x, int32_t y, int32_t lineStartX,
                                         int32_t lineUnits, uint32_t color, int32_t charSpacing, int32_t lineSpacing,
                                         int32_t* endX, int32_t* endY, wchar_t lineBreak, uint32_t style,
                                         uint32_t edgeColor)
{
    const int32_t h = (int32_t)font.GetCellHeight();
    int32_t count = 0;
    for (wchar_t c : text)
    {
        if (c == 0)
            break;
        uint32_t units = 1;
        const uint32_t code = PackedCode(c, units);
        if (units == 1 && c == lineBreak)
        {
            y += h + lineSpacing;
            x = lineStartX;
            count = 0;
            continue;
        }
        if (count >= lineUnits)
        {
            y += h + lineSpacing;
            x = lineStartX;
            count = 0;
        }
        const uint32_t index = font.GetGlyphIndex(code);
        if (index < font.GetGlyphCount())
            DrawPackedGlyph(surface, font, index, units, x, y, color, style, edgeColor);
        count += (int32_t)units;
        x += (int32_t)units * h / 2 + charSpacing;
    }
    if (endX)
        *endX = x;
    if (endY)
        *endY = y;
}
