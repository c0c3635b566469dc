#include "graphics/GxTextureText.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxImageFontParam.h"
#include "graphics/GxPackedFont.h"
#include "graphics/GxTextRaster.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace
{

const wchar_t* const DEFAULT_FACE = L"ＭＳ ゴシック";

// Locks the whole level for one drawing call and unlocks it when it ends.
class SurfaceLock
{
public:
    // rect null: the whole level. Drawing through Get takes coordinates relative to the rectangle.
    explicit SurfaceLock(GxTexture& texture, const PfRect* rect = nullptr) : m_Texture(texture)
    {
        void* bits = nullptr;
        D3DFORMAT format = D3DFMT_UNKNOWN;
        m_Locked = texture.LockRect(rect, &bits, &m_Surface.m_Pitch, &m_Surface.m_Width, &m_Surface.m_Height,
                                    &format, false);
        if (m_Locked)
        {
            m_Surface.m_Bits = (uint8_t*)bits;
            m_Surface.m_Format = format;
        }
    }
    ~SurfaceLock()
    {
        if (m_Locked)
            m_Texture.UnlockRect();
    }
    const GxTextSurface& Get() const { return m_Surface; }

private:
    GxTexture& m_Texture;
    GxTextSurface m_Surface;
    bool m_Locked = false;
};

std::string OneChar(char c)
{
    return std::string(1, c);
}

} // namespace

GxTextureText::GxTextureText() : m_FontName(DEFAULT_FACE)
{
    ResizeBuffer(INITIAL_BUFFER_SIZE);
}

GxTextureText::~GxTextureText()
{
    std::free(m_pBuffer);
}

void GxTextureText::SetFontName(const std::wstring& face)
{
    m_FontName = face;
}

void GxTextureText::SetFontNameA(const char* face)
{
    SetFontName(GxString::ToWide(face ? face : ""));
}

bool GxTextureText::ResizeBuffer(size_t n)
{
    if (m_pBuffer && m_BufferSize >= n)
        return true;
    std::free(m_pBuffer);
    m_pBuffer = (uint8_t*)std::malloc(n ? n : 1);
    if (!m_pBuffer)
    {
        m_BufferSize = 0;
        GxLog::Error(L"Error/GxTextureText::ResizeBuffer(%u)に失敗\n", (unsigned)n);
        return false;
    }
    m_BufferSize = n;
    return true;
}

bool GxTextureText::DrawText(const std::wstring& text, int32_t x, int32_t y, int32_t size, uint32_t color,
                             int32_t* endX, int32_t* endY)
{
    if (!GetD3DTexture())
        return false;
    // Only the rows and columns the line can reach are locked, with room for glyphs that overhang their
    // cells, so that a glyph added to a font page sends a strip of the page to the device, not all of it.
    const int32_t s = std::min(size, GxTextRaster::MAX_FONT_SIZE);
    int32_t advance = 0;
    for (wchar_t c : text)
    {
        if (c == 0)
            break;
        advance += GxString::GetCharWidthUnits(c) * s / 2;
    }
    PfRect area = {std::max(0, x - s / 2), std::max(0, y - s / 2), std::min((int32_t)GetWidth(), x + advance + s / 2),
                   std::min((int32_t)GetHeight(), y + s + s / 2)};
    if (area.left >= area.right || area.top >= area.bottom)
    {
        // Wholly outside: nothing to draw, the pen still moves.
        GxTextRaster::DrawText(GxTextSurface(), m_FontName, text, x, y, size, color, endX, endY);
        return true;
    }
    SurfaceLock lock(*this, &area);
    GxTextRaster::DrawText(lock.Get(), m_FontName, text, x - area.left, y - area.top, size, color, endX, endY);
    if (endX)
        *endX += area.left;
    if (endY)
        *endY += area.top;
    return true;
}

bool GxTextureText::DrawTextA(const char* text, int32_t x, int32_t y, int32_t size, uint32_t color, int32_t* endX,
                              int32_t* endY)
{
    return DrawText(GxString::ToWide(text ? text : ""), x, y, size, color, endX, endY);
}

bool GxTextureText::DrawTextWrapped(const std::wstring& text, int32_t x, int32_t y, int32_t lineStartX,
                                    int32_t size, int32_t lineUnits, uint32_t color, int32_t charSpacing,
                                    int32_t lineSpacing, int32_t* endX, int32_t* endY, wchar_t lineBreak)
{
    if (!GetD3DTexture())
        return false;
    SurfaceLock lock(*this);
    GxTextRaster::DrawTextWrapped(lock.Get(), m_FontName, text, x, y, lineStartX, size, lineUnits, color,
                                  charSpacing, lineSpacing, endX, endY, lineBreak);
    return true;
}

bool GxTextureText::DrawTextWrappedA(const char* text, int32_t x, int32_t y, int32_t lineStartX, int32_t size,
                                     int32_t lineUnits, uint32_t color, int32_t charSpacing, int32_t lineSpacing,
                                     int32_t* endX, int32_t* endY, char lineBreak)
{
    const std::wstring breakChar = GxString::ToWide(OneChar(lineBreak));
    return DrawTextWrapped(GxString::ToWide(text ? text : ""), x, y, lineStartX, size, lineUnits, color,
                           charSpacing, lineSpacing, endX, endY, breakChar.empty() ? L'\0' : breakChar[0]);
}

bool GxTextureText::DrawGlyph(wchar_t c, int32_t x, int32_t y, int32_t size, uint32_t color)
{
    if (!GetD3DTexture())
        return false;
    SurfaceLock lock(*this);
    GxTextRaster::DrawGlyph(lock.Get(), m_FontName, c, x, y, size, color);
    return true;
}

bool GxTextureText::DrawGlyphA(const char* c, int32_t x, int32_t y, int32_t size, uint32_t color)
{
    const std::wstring wide = GxString::ToWide(c ? c : "");
    // The Shift-JIS ideographic space 0x8140 becomes U+3000, which draws nothing.
    return DrawGlyph(wide.empty() ? L' ' : wide[0], x, y, size, color);
}

bool GxTextureText::DrawImageText(const std::wstring& text, const GxImageFontParam* font, int32_t x, int32_t y,
                                  int32_t* endX, int32_t* endY)
{
    return DrawImageTextA(GxString::ToMultiByte(text).c_str(), font, x, y, endX, endY);
}

bool GxTextureText::DrawImageTextA(const char* bytes, const GxImageFontParam* font, int32_t x, int32_t y,
                                   int32_t* endX, int32_t* endY)
{
    if (!GetD3DTexture() || !font || !font->m_pTexture)
        return false;
    for (const char* p = bytes; p && *p; ++p)
    {
        const uint32_t c = (uint8_t)*p;
        uint32_t column = 0, row = 0;
        font->GetCellPos(c, column, row);
        const int32_t a = (int32_t)font->GetCharWidth(c);
        PfRect source;
        source.left = (int32_t)(font->m_CellWidth * column + font->m_OriginX);
        source.top = (int32_t)(font->m_CellHeight * row + font->m_OriginY);
        source.right = (int32_t)(font->m_CellWidth * column + a + font->m_OriginX);
        source.bottom = (int32_t)(font->m_CellHeight * (row + 1) + font->m_OriginY);
        if (source.right > source.left)
            CopyFrom(font->m_pTexture, &source, x, y);
        x += a;
    }
    if (endX)
        *endX = x;
    if (endY)
        *endY = y;
    return true;
}

bool GxTextureText::DrawImageTextWrapped(const std::wstring& text, const GxImageFontParam* font, int32_t x,
                                         int32_t y, int32_t lineStartX, int32_t charsPerLine, int32_t charSpacing,
                                         int32_t lineSpacing, int32_t* endX, int32_t* endY, wchar_t lineBreak)
{
    return DrawImageTextWrappedA(GxString::ToMultiByte(text).c_str(), font, x, y, lineStartX, charsPerLine,
                                 charSpacing, lineSpacing, endX, endY,
                                 (char)(GxString::ToSingleByteCode(lineBreak) & 0xFF));
}

bool GxTextureText::DrawImageTextWrappedA(const char* bytes, const GxImageFontParam* font, int32_t x, int32_t y,
                                          int32_t lineStartX, int32_t charsPerLine, int32_t charSpacing,
                                          int32_t lineSpacing, int32_t* endX, int32_t* endY, char lineBreak)
{
    if (!GetD3DTexture() || !font || !font->m_pTexture)
        return false;
    int32_t count = 0;
    const int32_t lineHeight = lineSpacing + (int32_t)font->m_CellHeight;
    for (const char* p = bytes; p && *p; ++p)
    {
        if (*p == lineBreak)
        {
            x = lineStartX;
            y += lineHeight;
            count = 0;
            continue;
        }
        if (count >= charsPerLine)
        {
            x = lineStartX;
            y += lineHeight;
            count = 0;
        }
        int32_t nextX = x;
        DrawImageTextA(OneChar(*p).c_str(), font, x, y, &nextX, nullptr);
        x = nextX + charSpacing;
        ++count;
    }
    if (endX)
        *endX = x;
    if (endY)
        *endY = y;
    return true;
}

bool GxTextureText::DrawPackedText(const std::wstring& text, const GxPackedFont* font, int32_t x, int32_t y,
                                   uint32_t color, int32_t* endX, int32_t* endY, uint32_t style, uint32_t color2)
{
    if (!GetD3DTexture() || !font || !font->GetPixels())
        return false;
    SurfaceLock lock(*this);
    GxTextRaster::DrawPackedText(lock.Get(), *font, text, x, y, color, endX, endY, style, color2);
    return true;
}

bool GxTextureText::DrawPackedTextA(const char* text, const GxPackedFont* font, int32_t x, int32_t y, uint32_t color,
                                    int32_t* endX, int32_t* endY, uint32_t style, uint32_t color2)
{
    return DrawPackedText(GxString::ToWide(text ? text : ""), font, x, y, color, endX, endY, style, color2);
}

bool GxTextureText::DrawPackedTextWrapped(const std::wstring& text, const GxPackedFont* font, int32_t x, int32_t y,
                                          int32_t lineStartX, int32_t lineUnits, int32_t charSpacing,
                                          int32_t lineSpacing, uint32_t color, int32_t* endX, int32_t* endY,
                                          wchar_t lineBreak, uint32_t style, uint32_t color2)
{
    if (!GetD3DTexture() || !font || !font->GetPixels())
        return false;
    SurfaceLock lock(*this);
    GxTextRaster::DrawPackedTextWrapped(lock.Get(), *font, text, x, y, lineStartX, lineUnits, color, charSpacing,
                                        lineSpacing, endX, endY, lineBreak, style, color2);
    return true;
}

bool GxTextureText::DrawPackedTextWrappedA(const char* text, const GxPackedFont* font, int32_t x, int32_t y,
                                           int32_t lineStartX, int32_t lineUnits, int32_t charSpacing,
                                           int32_t lineSpacing, uint32_t color, int32_t* endX, int32_t* endY,
                                           char lineBreak, uint32_t style, uint32_t color2)
{
    const std::wstring breakChar = GxString::ToWide(OneChar(lineBreak));
    return DrawPackedTextWrapped(GxString::ToWide(text ? text : ""), font, x, y, lineStartX, lineUnits, charSpacing,
                                 lineSpacing, color, endX, endY, breakChar.empty() ? L'\0' : breakChar[0], style,
                                 color2);
}
