// Text drawn on the processor into a locked texture surface: glyphs of an outline face rasterised into gray
// levels 0..64 and turned into alpha through the alpha table, and the 4-bit glyphs of packed fonts, plain,
// glowing or edged. Layout is at fixed pitch: a half-width character advances half the font size.
//
// Every write is clipped to the surface on all four sides. Only A8R8G8B8 and A4R4G4B4 surfaces are written.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class GxPackedFont;

// A locked level of a texture.
struct GxTextSurface
{
    uint8_t* m_Bits = nullptr;
    uint32_t m_Pitch = 0;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    D3DFORMAT m_Format = D3DFMT_UNKNOWN;

    bool IsWritable() const
    {
        return m_Bits && m_Width && m_Height && (m_Format == D3DFMT_A8R8G8B8 || m_Format == D3DFMT_A4R4G4B4);
    }
};

class GxTextRaster
{
public:
    static constexpr int32_t MAX_FONT_SIZE = 64;

    enum PackedStyle : uint32_t
    {
        PACKED_PLAIN = 0,
        PACKED_GLOW = 1,
        PACKED_EDGE = 2,
    };

    // Entry g (0..64) = min(255, g x 255 / 52).
    static uint8_t GetAlpha(uint32_t gray);

    // One character at the pen (the top-left of its cell). Spaces (U+0020, U+3000) draw nothing. False when
    // the face cannot be opened.
    static bool DrawGlyph(const GxTextSurface& surface, const std::wstring& face, wchar_t c, int32_t x, int32_t y,
                          int32_t size, uint32_t color);
    // A line of text from (x, y); endX receives the final pen. A face that cannot be opened draws nothing and
    // leaves the pen where it was.
    static void DrawText(const GxTextSurface& surface, const std::wstring& face, const std::wstring& text, int32_t x,
                         int32_t y, int32_t size, uint32_t color, int32_t* endX, int32_t* endY);
    // The same, broken into lines of lineUnits half-width units; a half-width lineBreak character breaks the
    // line and is not drawn.
    static void DrawTextWrapped(const GxTextSurface& surface, const std::wstring& face, const std::wstring& text,
                                int32_t x, int32_t y, int32_t lineStartX, int32_t size, int32_t lineUnits,
                                uint32_t color, int32_t charSpacing, int32_t lineSpacing, int32_t* endX,
                                int32_t* endY, wchar_t lineBreak);

    // A gray glyph of width x height (rows of pitch bytes, levels 0..64) replacing the pixels of its box.
    static void BlendGlyph(const GxTextSurface& surface, const uint8_t* gray, int32_t pitch, int32_t width,
                           int32_t height, int32_t left, int32_t top, uint32_t color);

    // One packed-font glyph of units half-width units at (x, y). False when the font has no such glyph or its
    // pixel data does not hold it.
    static bool DrawPackedGlyph(const GxTextSurface& surface, const GxPackedFont& font, uint32_t index,
                                uint32_t units, int32_t x, int32_t y, uint32_t color, uint32_t style,
                                uint32_t edgeColor);
    // Wide text through a packed font: each character's CP932 code picks the glyph and its byte count gives
    // its units.
    static void DrawPackedText(const GxTextSurface& surface, const GxPackedFont& font, const std::wstring& text,
                               int32_t x, int32_t y, uint32_t color, int32_t* endX, int32_t* endY, uint32_t style,
                               uint32_t edgeColor);
    static void DrawPackedTextWrapped(const GxTextSurface& surface, const GxPackedFont& font,
                                      const std::wstring& text, int32_t x, int32_t y, int32_t lineStartX,
                                      int32_t lineUnits, uint32_t color, int32_t charSpacing, int32_t lineSpacing,
                                      int32_t* endX, int32_t* endY, wchar_t lineBreak, uint32_t style,
                                      uint32_t edgeColor);
    // The CP932 code (lead byte high) and byte count of a character, for packed fonts.
    static uint32_t PackedCode(wchar_t c, uint32_t& units);

private:
    static void PutPixel(const GxTextSurface& surface, int32_t x, int32_t y, uint32_t alpha, uint32_t rgb);
};
