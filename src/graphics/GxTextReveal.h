// The layout state of a text revealed character by character: the text, the reveal index, the pen inside a
// layout rectangle, the font mode that measures characters, colours, spacing and the tag handler. Each step
// hands the characters it reveals to DrawRevealedChar, which the progressive text texture draws into itself.
#pragma once

#include <cstdint>
#include <string>

struct GxImageFontParam;
class GxPackedFont;
class GxTextReveal;

// Called with the text just after a tag-start character and the tag-end character; returns how many
// characters it consumed.
typedef uint32_t (*GxTextTagHandler)(GxTextReveal* text, const wchar_t* tag, wchar_t tagEnd, uint32_t reserved);

class GxTextReveal
{
public:
    enum FontMode : uint32_t
    {
        FONT_GDI = 1,
        FONT_IMAGE = 2,
        FONT_PACKED = 3,
    };

    GxTextReveal() = default;
    virtual ~GxTextReveal() = default;

    void SetLayoutRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void GetLayoutRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const;
    void SetColor(uint32_t color);
    void SetCurrentColor(uint32_t color) { m_CurrentColor = color; }
    uint32_t GetColor() const { return m_DefaultColor; }
    uint32_t GetCurrentColor() const { return m_CurrentColor; }
    void SetEdgeColor(uint32_t color) { m_EdgeColor = color; }
    uint32_t GetEdgeColor() const { return m_EdgeColor; }
    void UseGdiFont(int32_t size);
    void UseImageFont(const GxImageFontParam* font);
    void UsePackedFont(const GxPackedFont* font, uint32_t style);
    uint32_t GetFontMode() const { return m_FontMode; }
    int32_t GetGdiFontSize() const { return m_GdiFontSize; }
    const GxImageFontParam* GetImageFont() const { return m_pImageFont; }
    const GxPackedFont* GetPackedFont() const { return m_pPackedFont; }
    uint32_t GetPackedStyle() const { return m_PackedStyle; }
    void SetControlChars(wchar_t lineBreak, wchar_t tagStart, wchar_t tagEnd);
    void SetSpacing(int32_t charSpacing, int32_t lineSpacing);
    void SetTagCallback(GxTextTagHandler handler) { m_TagHandler = handler; }
    void SetText(const std::wstring& text);
    void AppendText(const std::wstring& text) { m_Text += text; }
    void ClearText();
    const std::wstring& GetText() const { return m_Text; }
    void SetPen(int32_t x, int32_t y);
    void GetPen(int32_t* x, int32_t* y) const;
    void SetIndex(uint32_t index) { m_Index = index; }
    uint32_t GetIndex() const { return m_Index; }

    // Reveals up to n characters, line breaks handled, tag characters drawn like any other; returns the
    // characters left.
    uint32_t Step(uint32_t n) { return Reveal(n, false); }
    void DrawAll();
    // As Step, with tags handed to the tag handler; neither tags nor line breaks count towards n.
    uint32_t StepTagged(uint32_t n) { return Reveal(n, true); }
    void DrawAllTagged();

    // Width and height of a character in the current font mode; 0 when that mode's font is missing.
    void Measure(wchar_t c, int32_t& width, int32_t& height) const;

    // Colour tags: "-" the default colour, "0" to "7" black, blue, green, red, cyan, magenta, yellow, white.
    static uint32_t DefaultTagHandler(GxTextReveal* text, const wchar_t* tag, wchar_t tagEnd, uint32_t reserved);

protected:
    // Draws one revealed character with its cell's top-left corner at (x, y).
    virtual void DrawRevealedChar(wchar_t c, int32_t x, int32_t y) = 0;

private:
    uint32_t Reveal(uint32_t n, bool tagged);
    bool HasFont() const;

    std::wstring m_Text;
    uint32_t m_Index = 0;
    int32_t m_PenX = 0;
    int32_t m_PenY = 0;
    int32_t m_GdiFontSize = 16;
    uint32_t m_FontMode = FONT_GDI;
    int32_t m_CharSpacing = 0;
    int32_t m_LineSpacing = 0;
    uint32_t m_PackedStyle = 0;
    uint32_t m_DefaultColor = 0xFFFFFFFF;
    uint32_t m_CurrentColor = 0xFFFFFFFF;
    uint32_t m_EdgeColor = 0xFF000000;
    const GxImageFontParam* m_pImageFont = nullptr;
    const GxPackedFont* m_pPackedFont = nullptr;
    wchar_t m_LineBreak = 10;
    wchar_t m_TagStart = 1;
    wchar_t m_TagEnd = 1;
    int32_t m_Left = 0;
    int32_t m_Top = 0;
    int32_t m_Right = 0;
    int32_t m_Bottom = 0;
    GxTextTagHandler m_TagHandler = DefaultTagHandler;
};
