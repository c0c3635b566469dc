#include "core/GxContentTextReader.h"

#include "core/GxBinBuffer.h"
#include "core/GxContentTextNumber.h"
#include "core/GxString.h"
#include "core/GxText.h"

#include <cstring>

// Unquoting the text of a string line: from the opening double quote to the first one that is not
// escaped, with the escapes \f \n \r \t \v, any other escaped character taken literally. CP932 text is
// stepped a character at a time, so a second byte 0x5C (as in many kanji) is not taken for a backslash.
static std::string UnquoteCp932(const std::string& text)
{
    std::string out;
    const char* position = text.c_str();
    uint32_t lines = 0;
    GxText::ReadQuotedString(out, text.c_str(), position, lines, text.c_str() + text.size(), GxText::kCharsetAnsi);
    return out;
}

static std::wstring UnquoteW(const std::wstring& text)
{
    std::wstring out;
    const wchar_t* position = text.c_str();
    uint32_t lines = 0;
    GxText::ReadQuotedStringW(out, text.c_str(), position, lines, text.c_str() + text.size());
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
// data ends the line too, the cursor staying on the NUL. The record's text is UTF-8, stepped a byte at
// a time: CP932 stepping would let a UTF-8 byte that looks like a lead byte swallow the line end.
std::string_view GxContentTextReader::ReadLine(const uint8_t*& cursor, uint32_t& lineNumber)
{
    const char* start = reinterpret_cast<const char*>(cursor);
    const char* position = start;
    GxText::ReadLine(m_Line, start, position, lineNumber, reinterpret_cast<const char*>(m_End), GxText::kCharsetUtf8);
    cursor = reinterpret_cast<const uint8_t*>(position);
    return m_Line;
}

void GxContentTextReader::SkipLine()
{
    const char* position = reinterpret_cast<const char*>(m_Cursor);
    GxText::SkipLine(position, position, m_LineNumber, reinterpret_cast<const char*>(m_End));
    m_Cursor = reinterpret_cast<const uint8_t*>(position);
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

// A line of at least its tag (one hexadecimal digit below 16, two from there), the TABs before the name and
// each further field, all fields empty, and its line end: a string line has four fields, a list's begin
// four and its end only the tag.
uint32_t GxContentTextReader::LeastValueSize(const GxContentValueDesc& desc) const
{
    const uint32_t tag = desc.m_Tag < 16 ? 1 : 2;
    switch (desc.m_Tag)
    {
    case VALTYPE_GxStringUTF8:
    case VALTYPE_GxStringSJIS:
        return tag + 3 + 1;
    case VALTYPE_ListBegin:
        return (tag + 3 + 1) + (2 + 1);
    default:
        return tag + 1 + uint32_t(desc.m_Count) + 1;
    }
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
        return UnquoteCp932(std::string(quoted));
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
