#include "SampleLabel.h"

#include "platform/PfFontFace.h"

#include <algorithm>

namespace
{

// The face the game's text uses ("ＭＳ ゴシック" stands for the installed Japanese gothic).
const wchar_t* const kFace = L"ＭＳ ゴシック";
constexpr int32_t kSmallest = 10;
constexpr uint32_t kOutline = 0xFF101018u;

// c over the pixel at coverage a (0..64); a fully covered pixel takes c exactly.
uint32_t Over(uint32_t below, uint32_t c, uint32_t a)
{
    if (a >= 64)
        return c;
    const uint32_t belowAlpha = below >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const uint32_t s = (c >> shift) & 0xFF, d = belowAlpha ? (below >> shift) & 0xFF : s;
        out |= ((s * a + d * (64 - a)) / 64) << shift;
    }
    const uint32_t alpha = std::max(belowAlpha, (255u * a) / 64);
    return out | alpha << 24;
}

} // namespace

int32_t SampleLabel::Measure(const std::wstring& text, int32_t size)
{
    PfFontFace* face = PfFontFace::Get(kFace, size);
    if (!face)
        return 0;
    int32_t width = 0;
    PfGlyphBitmap glyph;
    for (wchar_t c : text)
        if (face->RenderGlyph(static_cast<uint32_t>(c), glyph))
            width += glyph.AdvanceX;
    return width + 1; // the bold copy reaches one pixel further
}

int32_t SampleLabel::Fit(const std::wstring& text, int32_t size, int32_t width, int32_t height)
{
    size = std::min(size, height);
    while (size > kSmallest && Measure(text, size) > width)
        --size;
    return std::max(size, kSmallest);
}

bool SampleLabel::Draw(std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::wstring& text, uint32_t colour,
                       int32_t size, int32_t x, int32_t y)
{
    PfFontFace* face = PfFontFace::Get(kFace, size);
    if (!face)
        return false;
    // Coverage of the whole line first, so the outline of one glyph never covers its neighbour.
    std::vector<uint8_t> cover(static_cast<size_t>(w) * h, 0);
    const int32_t baseline = y + face->GetAscent();
    int32_t pen = x;
    int32_t x0 = static_cast<int32_t>(w), y0 = static_cast<int32_t>(h), x1 = -1, y1 = -1;
    PfGlyphBitmap glyph;
    for (wchar_t c : text)
    {
        if (!face->RenderGlyph(static_cast<uint32_t>(c), glyph))
            continue;
        // Each glyph twice, one pixel apart, the coverages added: a stroke's two half-covered pixels make one
        // solid one, so the letters stay bold and solid at the small sizes of the buttons.
        for (int32_t bold = 0; bold < 2; ++bold)
            for (int32_t gy = 0; gy < glyph.Height; ++gy)
                for (int32_t gx = 0; gx < glyph.Width; ++gx)
                {
                    const int32_t px = pen + bold + glyph.OriginX + gx, py = baseline - glyph.OriginY + gy;
                    if (px < 0 || py < 0 || px >= static_cast<int32_t>(w) || py >= static_cast<int32_t>(h))
                        continue;
                    x0 = std::min(x0, px), y0 = std::min(y0, py), x1 = std::max(x1, px), y1 = std::max(y1, py);
                    uint8_t& at = cover[static_cast<size_t>(py) * w + px];
                    at = static_cast<uint8_t>(std::min(64, at + glyph.Gray[static_cast<size_t>(gy) * glyph.Pitch + gx]));
                }
        pen += glyph.AdvanceX;
    }
    // Only the line's box and the outline's pixel around it change.
    for (uint32_t py = static_cast<uint32_t>(std::max(0, y0 - 1)); static_cast<int32_t>(py) <= y1 + 1 && py < h; ++py)
        for (uint32_t px = static_cast<uint32_t>(std::max(0, x0 - 1)); static_cast<int32_t>(px) <= x1 + 1 && px < w;
             ++px)
        {
            uint32_t near = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    const int64_t nx = static_cast<int64_t>(px) + dx, ny = static_cast<int64_t>(py) + dy;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h)
                        near = std::max<uint32_t>(near, cover[static_cast<size_t>(ny) * w + nx]);
                }
            uint32_t& p = pixels[static_cast<size_t>(py) * w + px];
            if (near > 0)
                p = Over(p, kOutline, std::min<uint32_t>(64, near * 3 / 4));
            if (const uint32_t a = cover[static_cast<size_t>(py) * w + px])
                p = Over(p, colour, a);
        }
    return true;
}

bool SampleLabel::DrawCentred(std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::wstring& text,
                              uint32_t colour, int32_t size, int32_t left, int32_t top, int32_t width, int32_t height)
{
    size = Fit(text, size, width - 4, height);
    const int32_t textWidth = Measure(text, size);
    return Draw(pixels, w, h, text, colour, size, left + (width - textWidth) / 2, top + (height - size) / 2);
}

bool SampleLabel::DrawLeft(std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::wstring& text,
                           uint32_t colour, int32_t size, int32_t left, int32_t top, int32_t height)
{
    size = std::min(size, height);
    return Draw(pixels, w, h, text, colour, size, left, top + (height - size) / 2);
}
