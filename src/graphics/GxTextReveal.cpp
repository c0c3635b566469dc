#include "graphics/GxTextReveal.h"

#include "core/GxString.h"
#include "graphics/GxImageFontParam.h"
#include "graphics/GxPackedFont.h"

#include <algorithm>

void GxTextReveal::SetLayoutRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    m_Left = left;
    m_Top = top;
    m_Right = right;
    m_Bottom = bottom;
    m_PenX = left;
    m_PenY = top;
}

void GxTextReveal::GetLayoutRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const
{
    left = m_Left;
    top = m_Top;
    right = m_Right;
    bottom = m_Bottom;
}

void GxTextReveal::SetColor(uint32_t color)
{
    m_DefaultColor = color;
    m_CurrentColor = color;
}

void GxTextReveal::UseGdiFont(int32_t size)
{
    m_FontMode = FONT_GDI;
    m_GdiFontSize = size;
    m_pImageFont = nullptr;
    m_pPackedFont = nullptr;
}

void GxTextReveal::UseImageFont(const GxImageFontParam* font)
{
    m_FontMode = FONT_IMAGE;
    m_pImageFont = font;
    m_pPackedFont = nullptr;
}

void GxTextReveal::UsePackedFont(const GxPackedFont* font, uint32_t style)
{
    m_FontMode = FONT_PACKED;
    m_pPackedFont = font;
    m_PackedStyle = style;
    m_pImageFont = nullptr;
}

void GxTextReveal::SetControlChars(wchar_t lineBreak, wchar_t tagStart, wchar_t tagEnd)
{
    m_LineBreak = lineBreak;
    m_TagStart = tagStart;
    m_TagEnd = tagEnd;
}

void GxTextReveal::SetSpacing(int32_t charSpacing, int32_t lineSpacing)
{
    m_CharSpacing = charSpacing;
    m_LineSpacing = lineSpacing;
}

void GxTextReveal::SetText(const std::wstring& text)
{
    m_Text = text;
    m_Index = 0;
}

void GxTextReveal::ClearText()
{
    m_Text.clear();
    m_Index = 0;
}

void GxTextReveal::SetPen(int32_t x, int32_t y)
{
    m_PenX = x;
    m_PenY = y;
}

void GxTextReveal::GetPen(int32_t* x, int32_t* y) const
{
    if (x)
        *x = m_PenX;
    if (y)
        *y = m_PenY;
}

void GxTextReveal::Measure(wchar_t c, int32_t& width, int32_t& height) const
{
    width = height = 0;
    switch (m_FontMode)
    {
    case FONT_GDI:
        width = GxString::GetCharWidthUnits(c) * m_GdiFontSize / 2;
        height = m_GdiFontSize;
        break;
    case FONT_IMAGE:
        if (m_pImageFont)
        {
            width = (int32_t)m_pImageFont->GetCharWidth(GxString::ToSingleByteCode(c) & 0xFF);
            height = (int32_t)m_pImageFont->m_CellHeight;
        }
        break;
    case FONT_PACKED:
        if (m_pPackedFont)
        {
            height = (int32_t)m_pPackedFont->GetCellHeight();
            width = GxString::GetCharWidthUnits(c) * height / 2;
        }
        break;
    default:
        break;
    }
}

bool GxTextReveal::HasFont() const
{
    return (m_FontMode == FONT_IMAGE && m_pImageFont) || (m_FontMode == FONT_PACKED && m_pPackedFont) ||
           m_FontMode == FONT_GDI;
}

uint32_t GxTextReveal::Reveal(uint32_t n, bool tagged)
{
    const size_t length = m_Text.size();
    uint32_t drawn = 0;
    while (n > 0 && m_Index < length && drawn < n)
    {
        const wchar_t c = m_Text[m_Index];
        int32_t width = 0, height = 0;
        Measure(c, width, height);
        if (tagged && m_TagHandler && c == m_TagStart)
        {
            const uint64_t consumed = m_TagHandler(this, m_Text.c_str() + m_Index + 1, m_TagEnd, 0);
            // A handler that claims more than is left ends the text rather than running past it.
            m_Index = (uint32_t)std::min<uint64_t>(length, (uint64_t)m_Index + consumed + 1);
            continue;
        }
        if (c == m_LineBreak)
        {
            m_PenY += m_LineSpacing + height;
            m_PenX = m_Left;
            ++m_Index;
            continue;
        }
        if (m_PenX + m_CharSpacing + width > m_Right)
        {
            m_PenX = m_Left;
            m_PenY += m_LineSpacing + height;
        }
        if (HasFont())
            DrawRevealedChar(c, m_PenX, m_PenY);
        ++m_Index;
        m_PenX += m_CharSpacing + width;
        ++drawn;
    }
    return m_Index < length ? (uint32_t)(length - m_Index) : 0;
}

void GxTextReveal::DrawAll()
{
    while (Step(1) != 0)
    {
    }
}

void GxTextReveal::DrawAllTagged()
{
    while (StepTagged(1) != 0)
    {
    }
}

uint32_t GxTextReveal::DefaultTagHandler(GxTextReveal* text, const wchar_t* tag, wchar_t tagEnd, uint32_t)
{
    static const uint32_t s_Colors[8] = {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000,
                                         0xFF00FFFF, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF};
    uint32_t read = 0;
    for (; tag && tag[read] != 0;)
    {
        const wchar_t c = tag[read++];
        if (c == tagEnd)
            break;
        if (!text)
            continue;
        if (c == L'-')
            text->SetCurrentColor(text->GetColor());
        else if (c >= L'0' && c <= L'7')
            text->SetCurrentColor(s_Colors[c - L'0']);
    }
    return read;
}
