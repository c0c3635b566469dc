// A texture that text is drawn into on the processor: glyphs of an outline face rasterised straight into
// the locked level, copied from image fonts, or expanded from packed fonts, so that the whole text is then
// drawn as one textured quad. Text is laid out at fixed pitch: a half-width character advances half the
// font size. Only A8R8G8B8 and A4R4G4B4 textures are drawn into; glyphs are clipped on all four edges.
#pragma once

#include "graphics/GxTexture.h"

#include <cstdint>
#include <string>

struct GxImageFontParam;
class GxPackedFont;

class GxTextureText : public GxTexture
{
public:
    static constexpr size_t INITIAL_BUFFER_SIZE = 8192;

    GxTextureText();
    ~GxTextureText() override;

    virtual void SetFontName(const std::wstring& face);
    virtual void SetFontNameA(const char* face);
    const std::wstring& GetFontName() const { return m_FontName; }

    // Each returns false when the texture has no device texture, true otherwise; end x and y (either may be
    // null) receive the pen after the text.
    virtual bool DrawText(const std::wstring& text, int32_t x, int32_t y, int32_t size, uint32_t color,
                          int32_t* endX, int32_t* endY);
    virtual bool DrawTextA(const char* text, int32_t x, int32_t y, int32_t size, uint32_t color, int32_t* endX,
                           int32_t* endY);
    virtual bool DrawTextWrapped(const std::wstring& text, int32_t x, int32_t y, int32_t lineStartX, int32_t size,
                                 int32_t lineUnits, uint32_t color, int32_t charSpacing, int32_t lineSpacing,
                                 int32_t* endX, int32_t* endY, wchar_t lineBreak);
    virtual bool DrawTextWrappedA(const char* text, int32_t x, int32_t y, int32_t lineStartX, int32_t size,
                                  int32_t lineUnits, uint32_t color, int32_t charSpacing, int32_t lineSpacing,
                                  int32_t* endX, int32_t* endY, char lineBreak);
    // Image fonts: also false without a font or its source texture.
    virtual bool DrawImageText(const std::wstring& text, const GxImageFontParam* font, int32_t x, int32_t y,
                               int32_t* endX, int32_t* endY);
    virtual bool DrawImageTextA(const char* bytes, const GxImageFontParam* font, int32_t x, int32_t y, int32_t* endX,
                                int32_t* endY);
    virtual bool DrawImageTextWrapped(const std::wstring& text, const GxImageFontParam* font, int32_t x, int32_t y,
                                      int32_t lineStartX, int32_t charsPerLine, int32_t charSpacing,
                                      int32_t lineSpacing, int32_t* endX, int32_t* endY, wchar_t lineBreak);
    virtual bool DrawImageTextWrappedA(const char* bytes, const GxImageFontParam* font, int32_t x, int32_t y,
                                       int32_t lineStartX, int32_t charsPerLine, int32_t charSpacing,
                                       int32_t lineSpacing, int32_t* endX, int32_t* endY, char lineBreak);
    // Packed fonts: also false without a font or its pixel data. style 0 plain, 1 glow, 2 edge (second colour).
    virtual bool DrawPackedText(const std::wstring& text, const GxPackedFont* font, int32_t x, int32_t y,
                                uint32_t color, int32_t* endX, int32_t* endY, uint32_t style, uint32_t color2);
    virtual bool DrawPackedTextA(const char* text, const GxPackedFont* font, int32_t x, int32_t y, uint32_t color,
                                 int32_t* endX, int32_t* endY, uint32_t style, uint32_t color2);
    virtual bool DrawPackedTextWrapped(const std::wstring& text, const GxPackedFont* font, int32_t x, int32_t y,
                                       int32_t lineStartX, int32_t lineUnits, int32_t charSpacing,
                                       int32_t lineSpacing, uint32_t color, int32_t* endX, int32_t* endY,
                                       wchar_t lineBreak, uint32_t style, uint32_t color2);
    virtual bool DrawPackedTextWrappedA(const char* text, const GxPackedFont* font, int32_t x, int32_t y,
                                        int32_t lineStartX, int32_t lineUnits, int32_t charSpacing,
                                        int32_t lineSpacing, uint32_t color, int32_t* endX, int32_t* endY,
                                        char lineBreak, uint32_t style, uint32_t color2);
    // One character at the pen into the whole texture (locked for the call).
    virtual bool DrawGlyph(wchar_t c, int32_t x, int32_t y, int32_t size, uint32_t color);
    virtual bool DrawGlyphA(const char* c, int32_t x, int32_t y, int32_t size, uint32_t color);
    // Grows the scratch buffer to at least n bytes; logs and returns false when it cannot.
    virtual bool ResizeBuffer(size_t n);
    size_t GetBufferSize() const { return m_BufferSize; }

protected:
    uint8_t* m_pBuffer = nullptr;
    size_t m_BufferSize = 0;
    std::wstring m_FontName;
};
