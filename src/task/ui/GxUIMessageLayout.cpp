// The typesetting of the message and text windows (see the header for the tags and the two modes).
//
// [SECTION] fonts, page and cursor
// [SECTION] typing one character: ruby marks, tags, placement and the line break after it
// [SECTION] save and load
#include "task/ui/GxUIMessageLayout.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentValueType.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "task/ui/GxTaskUIBase.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace
{
constexpr int32_t kFontCount = 6;

const GxSystemConfig& Config()
{
    return GxTaskUIBase::GetSystemConfig();
}
} // namespace

GxUIMessageLayout::GxUIMessageLayout(Mode mode)
    : m_Mode(mode), m_TextFontSize(Config().m_FontSize[2]), m_RubyFontSize(Config().m_FontSize[0]),
      m_TextMarginWidth(mode == Mode::Message ? 4 : 0), m_RubyMarginHeight(m_RubyFontSize),
      m_TextTotalHeight(mode == Mode::Message ? m_RubyFontSize + m_TextFontSize + 1 : m_TextFontSize + 1),
      m_TextColor(Config().m_MessageTextColor), m_ShadowColor(Config().m_MessageSecondColor), m_SystemConfig(&Config()),
      m_UserConfig(&GxTaskUIBase::GetUserConfig())
{
}

// ---------------------------------------------------------------------------------------------------
// Fonts, page and cursor

bool GxUIMessageLayout::SetTextFontIndex(int32_t index, const wchar_t* owner)
{
    if (index < 0 || index >= kFontCount)
    {
        GxLog::Error(L"%s::SetTextFontIndex/フォント番号が不正です(%d)\n", owner, index);
        return false;
    }
    m_TextFontIndex = index;
    m_TextFontSize = Config().m_FontSize[index];
    return true;
}

bool GxUIMessageLayout::SetRubyFontIndex(int32_t index, const wchar_t* owner)
{
    if (index < 0 || index >= kFontCount)
    {
        GxLog::Error(L"%s::SetRubyFontIndex/フォント番号が不正です(%d)\n", owner, index);
        return false;
    }
    m_RubyFontIndex = index;
    m_RubyFontSize = Config().m_FontSize[index];
    return true;
}

void GxUIMessageLayout::NewLine()
{
    m_CursorX = 0;
    m_CursorY += m_TextTotalHeight;
    if (m_Mode == Mode::TextWindow && m_RubyLine)
        m_CursorY += m_RubyMarginHeight;
}

void GxUIMessageLayout::ClearPage()
{
    m_CursorX = 0;
    m_CursorY = 0;
    m_ShowChars.clear();
    m_Rubies.clear();
}

void GxUIMessageLayout::ResetMessage()
{
    ClearPage();
    m_ProcessPos = 0;
    m_RubyMode = false;
    m_ChangeColor = false;
    m_EnableAutoClickWait = false;
    m_ClickWaiting = false;
}

int32_t GxUIMessageLayout::Units(wchar_t c)
{
    return GxString::GetCharWidthUnits(c);
}

int32_t GxUIMessageLayout::BodyAdvance(wchar_t c) const
{
    return Units(c) * m_TextFontSize / 2 + m_TextMarginWidth;
}

int32_t GxUIMessageLayout::RubyAdvance(wchar_t c) const
{
    return Units(c) * m_RubyFontSize / 2;
}

void GxUIMessageLayout::SetProcessPos(int32_t pos, const std::wstring& text)
{
    // Before the text there is nothing to read; past it the message is simply over.
    m_ProcessPos = std::clamp(pos, 0, static_cast<int32_t>(text.size()));
}

bool GxUIMessageLayout::IsAtEnd(const std::wstring& text) const
{
    return m_ProcessPos >= static_cast<int32_t>(text.size()) || text[static_cast<size_t>(m_ProcessPos)] == L'\0';
}

bool GxUIMessageLayout::EndOfText()
{
    m_RubyMode = false;
    if (m_Mode == Mode::Message && m_EnableAutoClickWait)
        m_ClickWaiting = true;
    return true;
}

bool GxUIMessageLayout::ScanTagNumber(const std::wstring& text, uint32_t& value)
{
    const wchar_t* start = text.c_str() + m_ProcessPos;
    const wchar_t* end = text.c_str() + text.size();
    int length = 0;
    if (GxString::ScanNumber(start, &length, end) == 0 || length <= 0)
        return false;
    // As a 32-bit unsigned number with automatic base: "0x" hexadecimal, a leading 0 octal, and a sign
    // wrapping around (so "-5" subtracts 5 from a wait).
    const std::wstring digits(start, static_cast<size_t>(length));
    value = static_cast<uint32_t>(std::wcstoul(digits.c_str(), nullptr, 0));
    m_ProcessPos += length;
    if (m_ProcessPos < static_cast<int32_t>(text.size()) && text[static_cast<size_t>(m_ProcessPos)] == L')')
        ++m_ProcessPos;
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Typing one character: ruby marks, tags, placement and the line break after it

bool GxUIMessageLayout::ShowNextChar(const std::wstring& text)
{
    const int32_t length = static_cast<int32_t>(text.size());
    m_ProcessPos = std::clamp(m_ProcessPos, 0, length);
    if (m_ProcessPos >= length)
    {
        m_RubyMode = false;
        return true;
    }
    const size_t rubiesBefore = m_Rubies.size();
    for (;;)
    {
        if (IsAtEnd(text))
            return EndOfText();
        Step step = ReadRubyMark(text);
        if (step == Step::NotMine)
            step = ReadTag(text);
        if (step == Step::Again)
            continue;
        if (step == Step::Stop)
            return false;
        if (step == Step::StopAtWait)
            return true;
        break;
    }
    PlaceChar(text, rubiesBefore);
    BreakLine(text);
    if (IsAtEnd(text))
        return EndOfText();
    return false;
}

wchar_t GxUIMessageLayout::CharAt(const std::wstring& text, int32_t i)
{
    return i >= 0 && i < static_cast<int32_t>(text.size()) ? text[static_cast<size_t>(i)] : L'\0';
}

GxUIMessageLayout::Step GxUIMessageLayout::ReadRubyMark(const std::wstring& text)
{
    const GxSystemConfig& config = *m_SystemConfig;
    const int32_t length = static_cast<int32_t>(text.size());
    const wchar_t c = CharAt(text, m_ProcessPos);
    if (m_RubyMode && c == config.m_RubySeparator)
    {
        // The reading was taken when the ruby opened; skip it and go on with whatever follows the
        // close, tags and rubies included.
        while (m_ProcessPos < length && CharAt(text, m_ProcessPos) != config.m_RubyClose)
            ++m_ProcessPos;
        if (m_ProcessPos < length)
            ++m_ProcessPos;
        m_RubyMode = false;
        return Step::Again;
    }
    if (c != config.m_RubyOpen)
        return Step::NotMine;
    ++m_ProcessPos;
    int32_t base = 0;
    int32_t i = m_ProcessPos;
    for (; i < length && CharAt(text, i) != config.m_RubySeparator; ++i)
        base += BodyAdvance(CharAt(text, i));
    if (i >= length)
        return Step::Stop; // no reading: the "≪" is dropped and the text shows plain
    Ruby ruby;
    for (++i; i < length && CharAt(text, i) != config.m_RubyClose; ++i)
    {
        ruby.m_Text += CharAt(text, i);
        ruby.m_RubyCharWidth += RubyAdvance(CharAt(text, i));
    }
    ruby.m_RubyUnderCharWidth = base;
    ruby.m_OffsetPos = RubyAnchor();
    m_Rubies.push_back(ruby);
    m_RubyMode = true;
    // An empty base goes straight on to skipping the reading.
    return CharAt(text, m_ProcessPos) == config.m_RubySeparator ? Step::Again : Step::Show;
}

GxVector3 GxUIMessageLayout::RubyAnchor() const
{
    return GxVector3(static_cast<float>(std::max(0, m_CursorX - (m_TextFontSize / 2 + m_TextMarginWidth))),
                     static_cast<float>(m_CursorY), 0.0f);
}

GxUIMessageLayout::Step GxUIMessageLayout::ReadTag(const std::wstring& text)
{
    const int32_t length = static_cast<int32_t>(text.size());
    if (CharAt(text, m_ProcessPos) != L'%')
        return Step::Show;
    ++m_ProcessPos;
    if (m_ProcessPos >= length)
    {
        EndOfText();
        return Step::StopAtWait;
    }
    const bool message = m_Mode == Mode::Message;
    switch (CharAt(text, m_ProcessPos))
    {
    case L'r':
        ++m_ProcessPos;
        NewLine();
        return Step::Stop;
    case L'p':
        ++m_ProcessPos;
        ClearPage();
        return Step::Stop;
    case L'c':
        ++m_ProcessPos;
        if (message)
            m_ClickWaiting = true;
        return Step::StopAtWait;
    case L'w':
        ++m_ProcessPos;
        if (CharAt(text, m_ProcessPos) == L'(')
        {
            ++m_ProcessPos;
            uint32_t ms = 0;
            if (ScanTagNumber(text, ms) && message)
                m_WaitTimeLeft = static_cast<int32_t>(static_cast<uint32_t>(m_WaitTimeLeft) + ms);
        }
        else if (message)
        {
            m_WaitTimeLeft += m_UserConfig->m_TextLongWaitTime;
        }
        return Step::Stop;
    case L'a':
        ++m_ProcessPos;
        if (CharAt(text, m_ProcessPos) == L'(')
        {
            ++m_ProcessPos;
            uint32_t colour = 0;
            if (ScanTagNumber(text, colour))
            {
                m_TextColor = colour | 0xFF000000u;
                m_ChangeColor = message;
            }
        }
        else
        {
            m_ChangeColor = false;
            m_TextColor = m_SystemConfig->m_MessageTextColor;
        }
        return Step::Again;
    default:
        return Step::Show; // "%" and any other character: that character is shown
    }
}

void GxUIMessageLayout::PlaceChar(const std::wstring& text, size_t rubiesBefore)
{
    const wchar_t c = CharAt(text, m_ProcessPos);
    const bool closing = m_SystemConfig->m_LineStartProhibited.find(c) != std::wstring::npos;
    if (m_CursorX > 0 && !closing && !m_IgnoreKinsoku && !m_DisenableAutoNewline && ClosingRunOverflows(text))
    {
        // The closing punctuation after this character cannot all hang at the edge, and a line must
        // not begin with it: this character goes to the next line and takes the punctuation along.
        NewLine();
        if (m_Rubies.size() > rubiesBefore)
            m_Rubies.back().m_OffsetPos = RubyAnchor();
    }
    ShowChar shown;
    shown.m_Char = static_cast<uint32_t>(c);
    shown.m_OffsetPos = GxVector3(static_cast<float>(m_CursorX), static_cast<float>(m_CursorY), 0.0f);
    shown.m_Color = m_TextColor;
    shown.m_ChangeColorFlag = m_Mode == Mode::Message && m_ChangeColor;
    m_ShowChars.push_back(shown);
    if (m_Mode == Mode::Message)
        m_WaitTimeLeft += m_UserConfig->m_TextWaitTime;
    ++m_ProcessPos;
    m_CursorX += BodyAdvance(c);
}

bool GxUIMessageLayout::ClosingRunOverflows(const std::wstring& text) const
{
    // BreakLine played forward over the characters that must not begin a line right after the one at
    // the position: only the first of them may hang past the edge, so a break would fall inside the run.
    const std::wstring& noStart = m_SystemConfig->m_LineStartProhibited;
    int32_t x = m_CursorX + BodyAdvance(CharAt(text, m_ProcessPos));
    for (int32_t i = m_ProcessPos + 1;; ++i)
    {
        const wchar_t next = CharAt(text, i);
        if (next == L'\0' || noStart.find(next) == std::wstring::npos)
            return false;
        if (x + m_TextMarginWidth + m_TextFontSize >= m_TextRegionWidth && x >= m_TextRegionWidth)
            return true;
        x += BodyAdvance(next);
    }
}

void GxUIMessageLayout::BreakLine(const std::wstring& text)
{
    // Kinsoku, with the next character: an opening bracket close to the edge goes to the next line with
    // what follows it; closing punctuation may hang one character past the edge (a longer run of it was
    // seen to by PlaceChar, which sent the character before it down).
    const GxSystemConfig& config = *m_SystemConfig;
    const wchar_t next = CharAt(text, m_ProcessPos);
    const bool isNext = next != L'\0';
    if (m_CursorX + 2 * (m_TextMarginWidth + m_TextFontSize) >= m_TextRegionWidth && isNext &&
        config.m_LineEndProhibited.find(next) != std::wstring::npos && !m_IgnoreKinsoku && !m_DisenableAutoNewline)
        NewLine();
    if (m_CursorX + m_TextMarginWidth + m_TextFontSize >= m_TextRegionWidth && !m_DisenableAutoNewline)
    {
        const bool hangs = isNext && config.m_LineStartProhibited.find(next) != std::wstring::npos && !m_IgnoreKinsoku;
        if (!hangs || m_CursorX >= m_TextRegionWidth)
            NewLine();
    }
}

bool GxUIMessageLayout::ShowRun(const std::wstring& text, bool stopAtClickWait)
{
    for (;;)
    {
        ShowNextChar(text);
        if (stopAtClickWait && m_ClickWaiting)
            return true;
        if (GetRemainCharCount(text) == 0)
            return false;
    }
}

// ---------------------------------------------------------------------------------------------------
// Save and load

namespace
{
// UTF-16 units of text[0 .. pos).
int32_t Utf16Index(const std::wstring& text, int32_t pos)
{
    int32_t units = 0;
    for (int32_t i = 0; i < pos && i < static_cast<int32_t>(text.size()); ++i)
        units += static_cast<uint32_t>(text[static_cast<size_t>(i)]) > 0xFFFFu ? 2 : 1;
    return units;
}

// The code-point index at a UTF-16 index.
int32_t CodePointIndex(const std::wstring& text, int32_t units)
{
    int32_t i = 0;
    for (int32_t u = 0; i < static_cast<int32_t>(text.size()) && u < units; ++i)
        u += static_cast<uint32_t>(text[static_cast<size_t>(i)]) > 0xFFFFu ? 2 : 1;
    return units < 0 ? units : i;
}
} // namespace

void GxUIMessageLayout::Save(GxContentWriterBase* writer, const std::wstring& text) const
{
    uint32_t records = 0;
    for (const ShowChar& ch : m_ShowChars)
        records += ch.m_Char > 0xFFFFu ? 2 : 1;
    writer->ListBegin("m_ShowChars", "", records);
    for (const ShowChar& ch : m_ShowChars)
    {
        uint16_t units[2] = {static_cast<uint16_t>(ch.m_Char), 0};
        int count = 1;
        if (ch.m_Char > 0xFFFFu)
        {
            const uint32_t v = ch.m_Char - 0x10000u;
            units[0] = static_cast<uint16_t>(0xD800u + (v >> 10));
            units[1] = static_cast<uint16_t>(0xDC00u + (v & 0x3FFu));
            count = 2;
        }
        for (int i = 0; i < count; ++i)
        {
            writer->ListItemBegin();
            writer->Write("m_Char", units[i]);
            writer->Write("m_OffsetPos", &ch.m_OffsetPos);
            writer->Write("m_Color", ch.m_Color);
            writer->Write("m_ChangeColorFlag", ch.m_ChangeColorFlag);
            writer->ListItemEnd();
        }
    }
    writer->ListEnd();
    writer->ListBegin("m_Rubies", "", static_cast<uint32_t>(m_Rubies.size()));
    for (const Ruby& ruby : m_Rubies)
    {
        writer->ListItemBegin();
        writer->WriteString("m_Text", ruby.m_Text);
        writer->Write("m_RubyCharWidth", ruby.m_RubyCharWidth);
        writer->Write("m_RubyUnderCharWidth", ruby.m_RubyUnderCharWidth);
        writer->Write("m_OffsetPos", &ruby.m_OffsetPos);
        writer->ListItemEnd();
    }
    writer->ListEnd();
    for (auto [name, value] : {std::pair{"m_TextRegionLeft", m_TextRegionLeft},
                               {"m_TextRegionTop", m_TextRegionTop},
                               {"m_TextRegionWidth", m_TextRegionWidth},
                               {"m_TextRegionHeight", m_TextRegionHeight},
                               {"m_TextFontIndex", m_TextFontIndex},
                               {"m_RubyFontIndex", m_RubyFontIndex},
                               {"m_TextFontSize", m_TextFontSize},
                               {"m_RubyFontSize", m_RubyFontSize},
                               {"m_TextMarginWidth", m_TextMarginWidth},
                               {"m_RubyMarginHeight", m_RubyMarginHeight},
                               {"m_TextTotalHeight", m_TextTotalHeight},
                               {"m_ProcessPos", Utf16Index(text, m_ProcessPos)}})
        writer->Write(name, value);
    writer->Write("m_RubyMode", m_RubyMode);
    writer->Write("m_CursorX", m_CursorX);
    writer->Write("m_CursorY", m_CursorY);
    writer->Write("m_TextColor", m_TextColor);
    writer->Write("m_ShadowColor", m_ShadowColor);
    for (auto [name, value] : {std::pair{"m_ChangeColor", m_ChangeColor},
                               {"m_VisibleText", m_VisibleText},
                               {"m_UseShadow", m_UseShadow},
                               {"m_EnableAutoClickWait", m_EnableAutoClickWait},
                               {"m_ClickWaiting", m_ClickWaiting},
                               {"m_ReadedFlag", m_ReadedFlag},
                               {"m_IgnoreKinsoku", m_IgnoreKinsoku},
                               {"m_DisenableAutoNewline", m_DisenableAutoNewline}})
        writer->Write(name, value);
    writer->Write("m_WaitTimeLeft", m_WaitTimeLeft);
}

bool GxUIMessageLayout::Load(GxContentReaderBase* reader, const std::wstring& text, const wchar_t* owner)
{
    // A page never holds more characters than a save could sensibly carry; a larger count is damage. Both
    // counts are held to what the bytes left can hold at their items' least size too, and every item is
    // made as it is read: a damaged count costs no more than the bytes behind it.
    constexpr uint32_t kMaxRecords = 65536;
    const uint32_t errors = reader->GetErrorCount();
    uint32_t count = 0;
    reader->ListBegin(
        "m_ShowChars", count,
        reader->LeastSize({g_ContentValueU16, g_ContentValueVector3, g_ContentValueU32, g_ContentValueBool}));
    if (count > kMaxRecords)
    {
        GxLog::Error(L"%s::Load/文字数が不正です(%u)\n", owner, count);
        return false;
    }
    m_ShowChars.clear();
    uint32_t pendingHigh = 0;
    for (uint32_t i = 0; i < count && reader->GetErrorCount() == errors; ++i)
    {
        reader->ListItemBegin();
        uint16_t unit = 0;
        ShowChar ch;
        reader->Read("m_Char", unit);
        reader->Read("m_OffsetPos", ch.m_OffsetPos);
        reader->Read("m_Color", ch.m_Color);
        reader->Read("m_ChangeColorFlag", ch.m_ChangeColorFlag);
        reader->ListItemEnd();
        // A high surrogate waits for its low half; the pair is one character again.
        if (unit >= 0xD800u && unit < 0xDC00u)
        {
            pendingHigh = unit;
            ch.m_Char = unit;
            m_ShowChars.push_back(ch);
            continue;
        }
        if (unit >= 0xDC00u && unit < 0xE000u && pendingHigh != 0 && !m_ShowChars.empty())
        {
            m_ShowChars.back().m_Char = 0x10000u + ((pendingHigh - 0xD800u) << 10) + (unit - 0xDC00u);
            pendingHigh = 0;
            continue;
        }
        pendingHigh = 0;
        ch.m_Char = unit;
        m_ShowChars.push_back(ch);
    }
    reader->ListEnd();
    reader->ListBegin(
        "m_Rubies", count,
        reader->LeastSize({g_ContentValueString, g_ContentValueS32, g_ContentValueS32, g_ContentValueVector3}));
    if (count > kMaxRecords)
    {
        GxLog::Error(L"%s::Load/ルビ数が不正です(%u)\n", owner, count);
        return false;
    }
    m_Rubies.clear();
    for (uint32_t i = 0; i < count && reader->GetErrorCount() == errors; ++i)
    {
        Ruby ruby;
        reader->ListItemBegin();
        reader->ReadString("m_Text", ruby.m_Text);
        reader->Read("m_RubyCharWidth", ruby.m_RubyCharWidth);
        reader->Read("m_RubyUnderCharWidth", ruby.m_RubyUnderCharWidth);
        reader->Read("m_OffsetPos", ruby.m_OffsetPos);
        reader->ListItemEnd();
        m_Rubies.push_back(std::move(ruby));
    }
    reader->ListEnd();
    int32_t textIndex = m_TextFontIndex;
    int32_t rubyIndex = m_RubyFontIndex;
    int32_t processPos = 0;
    for (auto [name, value] : {std::pair{"m_TextRegionLeft", &m_TextRegionLeft},
                               {"m_TextRegionTop", &m_TextRegionTop},
                               {"m_TextRegionWidth", &m_TextRegionWidth},
                               {"m_TextRegionHeight", &m_TextRegionHeight},
                               {"m_TextFontIndex", &textIndex},
                               {"m_RubyFontIndex", &rubyIndex},
                               {"m_TextFontSize", &m_TextFontSize},
                               {"m_RubyFontSize", &m_RubyFontSize},
                               {"m_TextMarginWidth", &m_TextMarginWidth},
                               {"m_RubyMarginHeight", &m_RubyMarginHeight},
                               {"m_TextTotalHeight", &m_TextTotalHeight},
                               {"m_ProcessPos", &processPos}})
        reader->Read(name, *value);
    reader->Read("m_RubyMode", m_RubyMode);
    reader->Read("m_CursorX", m_CursorX);
    reader->Read("m_CursorY", m_CursorY);
    reader->Read("m_TextColor", m_TextColor);
    reader->Read("m_ShadowColor", m_ShadowColor);
    for (auto [name, value] : {std::pair{"m_ChangeColor", &m_ChangeColor},
                               {"m_VisibleText", &m_VisibleText},
                               {"m_UseShadow", &m_UseShadow},
                               {"m_EnableAutoClickWait", &m_EnableAutoClickWait},
                               {"m_ClickWaiting", &m_ClickWaiting},
                               {"m_ReadedFlag", &m_ReadedFlag},
                               {"m_IgnoreKinsoku", &m_IgnoreKinsoku},
                               {"m_DisenableAutoNewline", &m_DisenableAutoNewline}})
        reader->Read(name, *value);
    reader->Read("m_WaitTimeLeft", m_WaitTimeLeft);
    // Font indices and the position come from the file: outside their ranges they are logged and kept.
    if (textIndex >= 0 && textIndex < kFontCount)
        m_TextFontIndex = textIndex;
    else
        GxLog::Error(L"%s::Load/フォント番号が不正です(%d)\n", owner, textIndex);
    if (rubyIndex >= 0 && rubyIndex < kFontCount)
        m_RubyFontIndex = rubyIndex;
    else
        GxLog::Error(L"%s::Load/フォント番号が不正です(%d)\n", owner, rubyIndex);
    SetProcessPos(CodePointIndex(text, processPos), text);
    return reader->GetErrorCount() == errors;
}
