#pragma once

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;
class GxVector2;

// The short-text layout of the text panels, the text button and the help tip: the text style a widget
// stores (font map, size, colours, outline, centring), the two glyph walks and the glyph drawer.
//
// Glyphs sit at fixed pitch: a character advances (width units x font size) / 2 pixels, integer
// division, width units from GxString::GetCharWidthUnits. Each walk calls f(character, x, y) with the
// glyph's top-left relative to the widget, so drawing and tests see the same positions and no frame
// allocates.
class GxUITextLayout
{
public:
    static constexpr int32_t kFontCount = 6;

    // The style of the font index, sized from the system configuration.
    explicit GxUITextLayout(int32_t fontIndex);

    // Index and the configured size of that index. An index outside the six font maps is logged for the
    // owner and changes nothing (a damaged row or save must not index past the maps).
    bool SetTextFontIndex(int32_t index, const wchar_t* owner);
    // The six stored values in their order ("m_TextFontIndex" .. "m_AutoAlign").
    void Save(GxContentWriterBase* writer) const;
    // The same; a stored font index outside the maps is logged and the index of the size is kept valid.
    void Load(GxContentReaderBase* reader, const wchar_t* owner);

    static int32_t Advance(wchar_t c, int32_t size);
    // Sum of the advances: the width a one-line text takes.
    static int32_t MeasureLine(const std::wstring& text, int32_t size);
    // ARGB with its alpha scaled by alpha / 255.
    static uint32_t FadeColor(uint32_t argb, int32_t alpha);

    // The panel walk: lines break at lineBreak and wrap when x + size reaches the client width; a one-line
    // text is centred in the client width when m_AutoAlign is set.
    template <class F>
    void ForEachPanelGlyph(const std::wstring& text, wchar_t lineBreak, int32_t clientLeft, int32_t clientTop,
                           int32_t clientWidth, F&& f) const
    {
        const bool hasBreak = text.find(lineBreak) != std::wstring::npos;
        int32_t w = m_AutoAlign != 0 && !hasBreak ? MeasureLine(text, m_TextFontSize) : clientWidth;
        if (w > clientWidth)
            w = clientWidth;
        const int32_t left = clientLeft + (clientWidth - w) / 2;
        int32_t x = 0;
        int32_t y = 0;
        for (wchar_t c : text)
        {
            if (c == lineBreak)
            {
                x = 0;
                y += m_TextFontSize;
                continue;
            }
            f(c, left + x, clientTop + y);
            x += Advance(c, m_TextFontSize);
            if (x + m_TextFontSize >= clientWidth)
            {
                x = 0;
                y += m_TextFontSize;
            }
        }
    }

    // The tip walk: lineBreak and line feeds break, and a row wraps once size + x reaches wrapWidth.
    // Answers the last row index (one less when the text ends on a break) and the widest row.
    template <class F>
    int32_t ForEachTipGlyph(const std::wstring& text, wchar_t lineBreak, int32_t wrapWidth, int32_t& widest,
                            F&& f) const
    {
        int32_t row = 0;
        int32_t x = 0;
        widest = 0;
        for (wchar_t c : text)
        {
            if (c == lineBreak || c == L'\n')
            {
                ++row;
                x = 0;
                continue;
            }
            f(c, x, row * m_TextFontSize);
            x += Advance(c, m_TextFontSize);
            if (m_TextFontSize + x >= wrapWidth)
            {
                ++row;
                x = 0;
            }
            if (x + m_TextFontSize > widest)
                widest = x + m_TextFontSize;
        }
        return x == 0 && row >= 1 ? row - 1 : row;
    }

    // One glyph of the font map at (x, y) on the screen, outlined first when m_UseEdge is set; the colours
    // already faded by the caller. Characters without an image (spaces) draw nothing.
    void DrawGlyph(wchar_t c, float x, float y, const GxVector2& scale, uint32_t textColor, uint32_t edgeColor,
                   uint32_t blend) const;

    // The panel walk drawn: glyphs at world + scale x position, colours faded by the actor's alpha.
    void DrawPanelText(const std::wstring& text, wchar_t lineBreak, int32_t clientLeft, int32_t clientTop,
                       int32_t clientWidth, float worldX, float worldY, const GxVector2& scale, int32_t alpha,
                       uint32_t blend) const;

    int32_t m_TextFontIndex;
    int32_t m_TextFontSize;
    uint32_t m_TextColor = 0xFFFFFFFFu;
    uint32_t m_EdgeColor;
    bool m_UseEdge = true;
    int32_t m_AutoAlign = 1;
};
