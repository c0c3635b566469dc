#pragma once

#include "core/GxVector3.h"

#include <cstdint>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;
class GxSystemConfig;
class GxUserConfig;

// The typesetting shared by the message window and the text window: a text with inline tags ("%r" new
// line, "%p" new page, "%c" click wait, "%w" / "%w(N)" timed wait, "%a(N)" / "%a" colour, "%%" a "%"),
// rubies ("≪" base "／" reading "≫") and kinsoku line breaking, laid out one character at a time into the
// page it keeps (shown characters and rubies), so drawing never lays the text out again.
//
// The two windows differ as the mode says: the text window has no character margin, no waits, no click
// wait, no colour-change flag, and its line pitch grows by the ruby height while ruby lines are on.
class GxUIMessageLayout
{
public:
    enum class Mode
    {
        Message,
        TextWindow,
    };

    struct ShowChar
    {
        uint32_t m_Char = 0; // a code point; stored as UTF-16 units
        GxVector3 m_OffsetPos;
        uint32_t m_Color = 0;
        bool m_ChangeColorFlag = false;
    };

    struct Ruby
    {
        std::wstring m_Text;
        int32_t m_RubyCharWidth = 0;
        int32_t m_RubyUnderCharWidth = 0;
        GxVector3 m_OffsetPos;
    };

    explicit GxUIMessageLayout(Mode mode);

    // Index and the configured size of that index; an index outside the six font maps is logged for the
    // owner and changes nothing.
    bool SetTextFontIndex(int32_t index, const wchar_t* owner);
    bool SetRubyFontIndex(int32_t index, const wchar_t* owner);

    void NewLine();
    void ClearPage();
    // Everything of the previous message but the region, fonts and flags of the window.
    void ResetMessage();
    // Processes the text from m_ProcessPos up to and including the next shown character or stopping tag;
    // true when typing has reached a stop (a click wait or the end of the text).
    bool ShowNextChar(const std::wstring& text);
    // ShowNextChar over and over until no characters remain (false) or, when stopAtClickWait is set, a
    // click wait begins (true): the typing of the at-once paths in one loop.
    bool ShowRun(const std::wstring& text, bool stopAtClickWait);
    int32_t GetRemainCharCount(const std::wstring& text) const
    {
        const int32_t length = static_cast<int32_t>(text.size());
        return m_ProcessPos >= length ? 0 : length - m_ProcessPos;
    }
    // A position from a caller or a save, kept inside 0 .. the text's length.
    void SetProcessPos(int32_t pos, const std::wstring& text);

    static int32_t Units(wchar_t c);
    int32_t BodyAdvance(wchar_t c) const;
    int32_t RubyAdvance(wchar_t c) const;

    // The ruby glyphs and the body glyphs of the page at their drawing positions relative to the widget:
    // f(character, x, y, colour record or null).
    template <class F> void ForEachRubyGlyph(F&& f) const
    {
        const int32_t wrapPitch = m_Mode == Mode::Message ? m_TextTotalHeight : m_TextTotalHeight + m_RubyFontSize;
        for (const Ruby& ruby : m_Rubies)
        {
            int32_t x =
                (ruby.m_RubyUnderCharWidth - ruby.m_RubyCharWidth) / 2 + static_cast<int32_t>(ruby.m_OffsetPos.x);
            int32_t y = static_cast<int32_t>(ruby.m_OffsetPos.y);
            if (m_RubyFontSize + x >= m_TextRegionWidth)
            {
                x = 0;
                y += wrapPitch;
            }
            for (wchar_t c : ruby.m_Text)
            {
                f(c, m_TextRegionLeft + x + m_RubyFontSize, m_TextRegionTop + y);
                x += RubyAdvance(c);
                if (m_RubyFontSize + x >= m_TextRegionWidth)
                {
                    x = 0;
                    y += wrapPitch;
                }
            }
        }
    }
    template <class F> void ForEachBodyGlyph(F&& f) const
    {
        const int32_t top =
            m_TextRegionTop + (m_Mode == Mode::Message ? m_RubyMarginHeight : (m_RubyLine ? m_RubyMarginHeight : 0));
        for (const ShowChar& ch : m_ShowChars)
            f(ch, m_TextRegionLeft + static_cast<int32_t>(ch.m_OffsetPos.x),
              top + static_cast<int32_t>(ch.m_OffsetPos.y));
    }

    // The page and the typing state in their stored order, from "m_ShowChars" to "m_WaitTimeLeft"
    // ("m_Text" is the caller's). Characters above U+FFFF are written as two surrogate records and joined
    // again when read; the process position is stored in UTF-16 units.
    void Save(GxContentWriterBase* writer, const std::wstring& text) const;
    bool Load(GxContentReaderBase* reader, const std::wstring& text, const wchar_t* owner);

    Mode m_Mode;
    std::vector<ShowChar> m_ShowChars;
    std::vector<Ruby> m_Rubies;
    int32_t m_TextRegionLeft = 0;
    int32_t m_TextRegionTop = 0;
    int32_t m_TextRegionWidth = 800;
    int32_t m_TextRegionHeight = 600;
    int32_t m_TextFontIndex = 2;
    int32_t m_RubyFontIndex = 0;
    int32_t m_TextFontSize;
    int32_t m_RubyFontSize;
    int32_t m_TextMarginWidth;
    int32_t m_RubyMarginHeight;
    int32_t m_TextTotalHeight;
    int32_t m_ProcessPos = 0;
    bool m_RubyMode = false;
    int32_t m_CursorX = 0;
    int32_t m_CursorY = 0;
    uint32_t m_TextColor;
    uint32_t m_ShadowColor;
    bool m_ChangeColor = false;
    bool m_VisibleText = true;
    bool m_UseShadow = true;
    bool m_EnableAutoClickWait = false;
    bool m_ClickWaiting = false;
    bool m_ReadedFlag = false;
    bool m_IgnoreKinsoku = false;
    bool m_DisenableAutoNewline = false;
    int32_t m_WaitTimeLeft = 0;
    // Text window only: every line reserves the ruby height (m_RubyMarginHeight) above its body text.
    bool m_RubyLine = true;

private:
    // What a reading step of ShowNextChar leaves to it: the step was not for this character, the loop
    // goes on, the call ends (false), the call ends at a stop (true), or the character is shown.
    enum class Step
    {
        NotMine,
        Again,
        Stop,
        StopAtWait,
        Show,
    };

    // The character at i, NUL outside the text.
    static wchar_t CharAt(const std::wstring& text, int32_t i);
    // "≪" opens a ruby (its record is made now), "／" in a ruby skips the reading.
    Step ReadRubyMark(const std::wstring& text);
    // "%" tags; any other character is to be shown.
    Step ReadTag(const std::wstring& text);
    // Where a ruby opened now is anchored.
    GxVector3 RubyAnchor() const;
    // Appends the character at the position to the page and moves the cursor past it. A ruby opened in
    // this call (beyond rubiesBefore) moves with the character when it goes to the next line.
    void PlaceChar(const std::wstring& text, size_t rubiesBefore);
    // True when the characters that must not begin a line right after the one at the position would,
    // by BreakLine's rules, be broken inside their run.
    bool ClosingRunOverflows(const std::wstring& text) const;
    // Kinsoku line breaking after a placed character, by the one that follows it.
    void BreakLine(const std::wstring& text);

    // The run's configurations, taken once: both live for the whole run (the player's options change
    // inside the same object).
    const GxSystemConfig* m_SystemConfig;
    const GxUserConfig* m_UserConfig;

    // Ends the text: ruby mode off, the automatic click wait; true.
    bool EndOfText();
    // "%w(" / "%a(" numbers: the value, or false with the position left after "(".
    bool ScanTagNumber(const std::wstring& text, uint32_t& value);
    bool IsAtEnd(const std::wstring& text) const;
};
