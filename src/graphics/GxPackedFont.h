#pragma once

#include <cstdint>

// A packed bitmap font supplied by its owner: 4 bits a pixel, two pixels a byte with the even pixel in the
// low nibble. Glyph i lies at x = (i mod columns) x h / 2, y = (i div columns) x h of the pixel data; a
// character of u half-width units is h / 2 x u pixels wide and h high.
class GxPackedFont
{
public:
    virtual ~GxPackedFont() = default;
    virtual uint32_t GetCellHeight() const = 0;
    // Half-width cells to a row of the pixel data.
    virtual uint32_t GetColumns() const = 0;
    // Pixels to a row of the pixel data.
    virtual uint32_t GetPitch() const = 0;
    virtual uint32_t GetGlyphCount() const = 0;
    // The glyph of a character code (a CP932 code for the multibyte forms); GetGlyphCount or more when the
    // font has none.
    virtual uint32_t GetGlyphIndex(uint32_t code) const = 0;
    virtual const uint8_t* GetPixels() const = 0;
    // Bytes of pixel data, for the bounds checks of the drawers.
    virtual size_t GetPixelBytes() const = 0;
};
