#include "core/GxContentTextReader.h"

#include "core/GxBinBuffer.h"
#include "core/GxContentTextNumber.h"
#include "core/GxString.h"

#include <cstring>

//----------------------------------------------------------------------------------------------------
// Unquoting the text of a string line: from the opening double quote to the first one that is not
// escaped. A backslash before f, n, r, t or v gives FF, LF, CR, TAB or VT, before any other character
// that character; raw CR, FF and LF are dropped; text after the closing quote is ignored and without one
// the rest of the field is taken.

static bool IsCp932LeadByte(uint8_t c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

template <typename Char> static Char Unescape(Char c)
{
    switch (c)
    {
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    default:
        return c;
    }
}

// Wide text: one character per unit.
static std::wstring UnquoteW(const std::wstring& text)
{
    std::wstring out;
    if (text.empty() || text[0] != L'"')
        return out;
    for (size_t i = 1; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c == L'\0' || c == L'"')
            break;
        if (c == L'\\')
        {
            if (++i >= text.size() || text[i] == L'\0')
                break;
            out.push_back(Unescape(text[i]));
        }
        else if (c != L'\r' && c != L'\f' && c != L'\n')
            out.push_back(c);
    }
    return out;
}

// Narrow text in CP932: a lead byte and the byte after it are one character, so a second byte 0x5C
// (as in many kanji) is not taken for a backslash.
static std::string UnquoteCp932(std::string_view text)
{
    std::string out;
    if (text.empty() || text[0] != '"')
        return out;
    for (size_t i = 1; i < text.size(); ++i)
    {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        if (c == '\0' || c == '"')
            break;
        if (IsCp932LeadByte(c) && i + 1 < text.size() && text[i + 1] != '\0')
        {
            out.push_back(text[i]);
            out.push_back(text[++i]);
        }
        else if (c == '\\')
        {
            if (++i >= text.size() || text[i] == '\0')
                break;
            out.push_back(Unescape(text[i]));
        }
        else if (c != '\r' && c != '\f' && c != '\n')
            out.push_back(text[i]);
    }
    return out;
}

//----------------------------------------------------------------------------------------------------

GxContentTextReader::GxContentTextReader(const void* data, uint32_t size) : GxContentReaderBase(data, size) {}

GxContentTextReader::GxContentTextReader(const GxBinBuffer& buffer)
    : GxContentReaderBase(buffer.GetData(), buffer.GetSize())
{
}

// Lines end at LF; the LF is consumed with the CRs and FFs that directly follow it (not a second LF,
// so an empty line stays one), and CR and FF inside the line are dropped. A NUL byte or the end of the
// data ends the line too, the cursor staying on the NUL. Bytes are taken one at a time: LF, CR, FF and
// NUL are never part of a multibyte character in UTF-8 or CP932.
std::string_view GxContentTextReader::ReadLine(const uint8_t*& cursor, uint32_t& lineNumber)
{
    const uint8_t* p = cursor;
    const uint8_t* const start = p;
    bool dropped = false;
    while (p < m_End)
    {
        const uint8_t c = *p;
        if (c > '\r')
        {
            ++p;
            continue;
        }
        if (c == '\0' || c == '\n')
            break;
        dropped |= c == '\r' || c == '\f';
        ++p;
    }
    std::string_view line(reinterpret_cast<const char*>(start), size_t(p - start));
    if (dropped)
    {
        m_LineCopy.clear();
        for (char c : line)
            if (c != '\r' && c != '\f')
                m_LineCopy.push_back(c);
        line = m_LineCopy;
    }
    if (p < m_End && *p == '\n')
    {
        ++lineNumber;
        ++p;
        while (p < m_End && (*p == '\r' || *p == '\f'))
            ++p;
    }
    cursor = p;
    return line;
}

void GxContentTextReader::SkipLine()
{
    ReadLine(m_Cursor, m_LineNumber);
}

static void SplitFields(std::string_view line, std::vector<std::string_view>& fields)
{
    fields.clear();
    size_t start = 0;
    for (;;)
    {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos)
        {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

int32_t GxContentTextReader::ReadFields()
{
    SplitFields(ReadLine(m_Cursor, m_LineNumber), m_Fields);
    return GxContentTextNumber::ParseHex(m_Fields[0]);
}

bool GxContentTextReader::CheckNameAndFields(const char* name, size_t needed, const char* prefix, const char* typeName)
{
    if (m_Fields.size() >= 2 && m_CheckValueName == 1 && m_Fields[1] != std::string_view(name ? name : ""))
    {
        LogError("%s/ValueName does not match Line=%d\n", prefix, LineForLog());
        return false;
    }
    if (m_Fields.size() < needed)
    {
        LogError("%s/VALTYPE_%s Line Has Too Few Fields Line=%d\n", prefix, typeName, LineForLog());
        return false;
    }
    return true;
}

uint32_t GxContentTextReader::PeekValueType()
{
    const uint8_t* cursor = m_Cursor;
    uint32_t lineNumber = m_LineNumber;
    std::string_view line = ReadLine(cursor, lineNumber);
    return static_cast<uint32_t>(GxContentTextNumber::ParseHex(line.substr(0, line.find('\t'))));
}

bool GxContentTextReader::IsEnd()
{
    return m_Cursor >= m_End || *m_Cursor == '\0';
}

bool GxContentTextReader::ReadHeader(const char* rootName, uint32_t& version)
{
    const char* root = rootName ? rootName : "";
    SplitFields(ReadLine(m_Cursor, m_LineNumber), m_Fields);
    if (m_Fields.size() < 2 || m_Fields[0] != std::string_view(root))
    {
        LogError("GxContentTextReader/FileHeader Isn't %s Line=%d\n", root, LineForLog());
        return false;
    }
    version = static_cast<uint32_t>(GxContentTextNumber::ParseInt(m_Fields[1]));
    return true;
}

bool GxContentTextReader::ReadValue(const char* name, const GxContentValueDesc& desc, void* components)
{
    // Bit32 has always reported under another class name; its messages keep it.
    const char* prefix = desc.m_Tag == VALTYPE_GxBit32 ? "GxContentStringReader" : "GxContentTextReader";
    if (ReadFields() != desc.m_Tag)
    {
        LogError("%s/ValueType Isn't VALTYPE_%s Line=%d\n", prefix, desc.m_TypeName, LineForLog());
        return false;
    }
    if (!CheckNameAndFields(name, 2 + size_t(desc.m_Count), prefix, desc.m_TypeName))
        return false;
    for (uint32_t i = 0; i < desc.m_Count; ++i)
    {
        const std::string_view field = m_Fields[2 + i];
        switch (desc.m_Component)
        {
        case GxContentComponent::S8:
            static_cast<int8_t*>(components)[i] = static_cast<int8_t>(GxContentTextNumber::ParseInt(field));
            break;
        case GxContentComponent::U8:
            static_cast<uint8_t*>(components)[i] = static_cast<uint8_t>(GxContentTextNumber::ParseInt(field));
            break;
        case GxContentComponent::Bool:
            static_cast<bool*>(components)[i] = GxContentTextNumber::ParseInt(field) != 0;
            break;
        case GxContentComponent::S16:
            static_cast<int16_t*>(components)[i] = static_cast<int16_t>(GxContentTextNumber::ParseInt(field));
            break;
        case GxContentComponent::U16:
            static_cast<uint16_t*>(components)[i] = static_cast<uint16_t>(GxContentTextNumber::ParseInt(field));
            break;
        case GxContentComponent::S32:
            static_cast<int32_t*>(components)[i] = GxContentTextNumber::ParseInt(field);
            break;
        case GxContentComponent::U32:
            static_cast<uint32_t*>(components)[i] = GxContentTextNumber::ParseU32(field);
            break;
        case GxContentComponent::S64:
            static_cast<int64_t*>(components)[i] = GxContentTextNumber::ParseS64(field);
            break;
        case GxContentComponent::U64:
            static_cast<uint64_t*>(components)[i] = GxContentTextNumber::ParseU64(field);
            break;
        case GxContentComponent::F32:
            static_cast<float*>(components)[i] = static_cast<float>(GxContentTextNumber::ParseDouble(field));
            break;
        case GxContentComponent::F64:
            static_cast<double*>(components)[i] = GxContentTextNumber::ParseDouble(field);
            break;
        }
    }
    return true;
}

bool GxContentTextReader::ReadStringField(const char* name, std::string_view& quoted, int32_t& tag)
{
    tag = ReadFields();
    if (tag != VALTYPE_GxStringSJIS && tag != VALTYPE_GxStringUTF8)
    {
        LogError("GxContentTextReader/ValueType Isn't VALTYPE_GxStringSJIS or VALTYPE_GxStringUTF8 Line=%d\n",
                 LineForLog());
        return false;
    }
    if (!CheckNameAndFields(name, 4, "GxContentTextReader",
                            tag == VALTYPE_GxStringSJIS ? "GxStringSJIS" : "GxStringUTF8"))
        return false;
    quoted = m_Fields[3];
    return true;
}

std::string GxContentTextReader::ReadStringA(const char* name)
{
    std::string_view quoted;
    int32_t tag = 0;
    if (!ReadStringField(name, quoted, tag))
        return {};
    if (tag == VALTYPE_GxStringSJIS)
        return UnquoteCp932(quoted);
    return UnquoteCp932(GxString::ToMultiByte(GxString::FromUtf8(std::string(quoted))));
}

std::wstring GxContentTextReader::ReadStringW(const char* name)
{
    std::string_view quoted;
    int32_t tag = 0;
    if (!ReadStringField(name, quoted, tag))
        return {};
    if (tag == VALTYPE_GxStringSJIS)
        return UnquoteW(GxString::ToWide(std::string(quoted)));
    return UnquoteW(GxString::FromUtf8(std::string(quoted)));
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One byte from a pair of characters, read like strtoul with base 16 ("1g" gives 1, "g1" gives 0).
static uint8_t ParseHexPair(std::string_view pair)
{
    const int high = HexDigit(pair[0]);
    const int low = HexDigit(pair[1]);
    if (high >= 0 && low >= 0)
        return static_cast<uint8_t>(high * 16 + low);
    return static_cast<uint8_t>(GxContentTextNumber::ParseHex(pair));
}

bool GxContentTextReader::ReadBinary(const char* name, GxBinBuffer& value)
{
    if (ReadFields() != VALTYPE_GxBinary)
    {
        LogError("GxContentTextReader/ValueType Isn't VALTYPE_GxBinary Line=%d\n", LineForLog());
        return false;
    }
    if (!CheckNameAndFields(name, 3, "GxContentTextReader", "GxBinary"))
        return false;
    // Each byte takes two hexadecimal digits: a size the rest of the text cannot hold is damage, and
    // must not become a huge allocation.
    const int32_t size = GxContentTextNumber::ParseInt(m_Fields[2]);
    if (size < 0 || uint32_t(size) > uint32_t(m_End - m_Cursor) / 2)
    {
        LogError("GxContentTextReader/VALTYPE_GxBinary Size %d Exceeds The Remaining Text Line=%d\n", size,
                 LineForLog());
        return false;
    }
    uint8_t* data = value.Alloc(static_cast<uint32_t>(size));
    if (size != 0 && !data)
        return false;
    const uint32_t lines = (uint32_t(size) + 31) / 32;
    for (uint32_t i = 0; i < lines; ++i)
    {
        const std::string_view line = ReadLine(m_Cursor, m_LineNumber);
        const uint32_t pairs = static_cast<uint32_t>(line.size() / 2);
        for (uint32_t j = 0; j < pairs && j < 32 && i * 32 + j < uint32_t(size); ++j)
            data[i * 32 + j] = ParseHexPair(line.substr(j * 2, 2));
    }
    return true;
}

bool GxContentTextReader::ListBegin(const char* name, uint32_t& count)
{
    count = 0;
    if (ReadFields() != VALTYPE_ListBegin)
    {
        LogError("GxContentTextReader/ValueType Isn't VALTYPE_ListBegin Line=%d\n", LineForLog());
        return false;
    }
    if (!CheckNameAndFields(name, 4, "GxContentTextReader", "ListBegin"))
        return false;
    const uint32_t stored = GxContentTextNumber::ParseU32(m_Fields[3]);
    // Every item takes at least one line of at least one byte.
    if (stored > uint32_t(m_End - m_Cursor))
    {
        LogError("GxContentTextReader/VALTYPE_ListBegin Count %u Exceeds The Remaining Text Line=%d\n", stored,
                 LineForLog());
        return false;
    }
    count = stored;
    return true;
}

bool GxContentTextReader::TreeBegin(const char* name)
{
    if (ReadFields() != VALTYPE_TreeBegin)
    {
        LogError("GxContentTextReader/ValueType Isn't VALTYPE_TreeBegin Line=%d\n", LineForLog());
        return false;
    }
    return CheckNameAndFields(name, 2, "GxContentTextReader", "TreeBegin");
}

bool GxContentTextReader::ReadDelimiter(uint8_t tag, const char* typeName)
{
    if (ReadFields() == tag)
        return true;
    LogError("GxContentTextReader/ValueType Isn't VALTYPE_%s Line=%d\n", typeName, LineForLog());
    return false;
}

bool GxContentTextReader::ListEnd()
{
    return ReadDelimiter(VALTYPE_ListEnd, "ListEnd");
}
bool GxContentTextReader::TreeEnd()
{
    return ReadDelimiter(VALTYPE_TreeEnd, "TreeEnd");
}
bool GxContentTextReader::TreeStratumBegin()
{
    return ReadDelimiter(VALTYPE_TreeStratumBegin, "TreeStratumBegin");
}
bool GxContentTextReader::TreeStratumEnd()
{
    return ReadDelimiter(VALTYPE_TreeStratumEnd, "TreeStratumEnd");
}

bool GxContentTextReader::SkipValue()
{
    if (ReadFields() == VALTYPE_GxBinary && m_Fields.size() >= 3)
    {
        const int32_t size = GxContentTextNumber::ParseInt(m_Fields[2]);
        const uint32_t lines = size > 0 ? (uint32_t(size) + 31) / 32 : 0;
        for (uint32_t i = 0; i < lines && !IsEnd(); ++i)
            SkipLine();
    }
    return true;
}
