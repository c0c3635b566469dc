#include "core/GxContentTextWriter.h"

#include "core/GxContentTextNumber.h"
#include "core/GxLog.h"

#include <cstring>

GxContentTextWriter::GxContentTextWriter(FILE* file) : GxContentWriterBase(file) {}

void GxContentTextWriter::BeginLine(uint8_t tag, const char* name)
{
    m_Line.clear();
    GxContentTextNumber::AppendTag(m_Line, tag);
    if (name)
    {
        m_Line.push_back('\t');
        m_Line.append(name);
    }
}

bool GxContentTextWriter::WriteLine()
{
    m_Line.push_back('\n');
    return WriteBytes(m_Line.data(), m_Line.size());
}

bool GxContentTextWriter::WriteHeader(const char* rootName, uint32_t version)
{
    const char* root = rootName ? rootName : "";
    if (std::strlen(root) >= 16)
    {
        GxLog::Error(L"GxContentTextWriter/Header String Too Long(Limit=%d Chars)\n", 15);
        return false;
    }
    m_Line.assign(root);
    m_Line.push_back('\t');
    GxContentTextNumber::AppendUInt(m_Line, version);
    return WriteLine();
}

bool GxContentTextWriter::WriteValue(const char* name, const GxContentValueDesc& desc, const void* components)
{
    BeginLine(desc.m_Tag, name ? name : "");
    for (uint32_t i = 0; i < desc.m_Count; ++i)
    {
        m_Line.push_back('\t');
        switch (desc.m_Component)
        {
        case GxContentComponent::S8:
            GxContentTextNumber::AppendInt(m_Line, static_cast<const int8_t*>(components)[i]);
            break;
        case GxContentComponent::U8:
            GxContentTextNumber::AppendUInt(m_Line, static_cast<const uint8_t*>(components)[i]);
            break;
        case GxContentComponent::Bool:
            m_Line.push_back(static_cast<const bool*>(components)[i] ? '1' : '0');
            break;
        case GxContentComponent::S16:
            GxContentTextNumber::AppendInt(m_Line, static_cast<const int16_t*>(components)[i]);
            break;
        case GxContentComponent::U16:
            GxContentTextNumber::AppendUInt(m_Line, static_cast<const uint16_t*>(components)[i]);
            break;
        case GxContentComponent::S32:
            GxContentTextNumber::AppendInt(m_Line, static_cast<const int32_t*>(components)[i]);
            break;
        case GxContentComponent::U32:
            GxContentTextNumber::AppendUInt(m_Line, static_cast<const uint32_t*>(components)[i]);
            break;
        case GxContentComponent::S64:
            GxContentTextNumber::AppendInt(m_Line, static_cast<const int64_t*>(components)[i]);
            break;
        case GxContentComponent::U64:
            GxContentTextNumber::AppendUInt(m_Line, static_cast<const uint64_t*>(components)[i]);
            break;
        case GxContentComponent::F32:
            GxContentTextNumber::AppendFloat(m_Line, static_cast<const float*>(components)[i]);
            break;
        case GxContentComponent::F64:
            GxContentTextNumber::AppendFloat(m_Line, static_cast<const double*>(components)[i]);
            break;
        }
    }
    return WriteLine();
}

// The text is escaped so that it holds no TAB, line break or bare double quote: backslash, LF, CR, FF,
// TAB, double and single quote become two-character escapes. UTF-8 bytes of other characters never
// equal these ASCII bytes, so escaping after the conversion gives the same bytes as before it. The
// count is that of the escaped bytes; readers do not use it.
bool GxContentTextWriter::WriteUtf8String(const char* name, const std::string& utf8)
{
    std::string escaped;
    escaped.reserve(utf8.size() + 2);
    for (char c : utf8)
    {
        switch (c)
        {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\f':
            escaped += "\\f";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '"':
            escaped += "\\\"";
            break;
        case '\'':
            escaped += "\\'";
            break;
        default:
            escaped.push_back(c);
            break;
        }
    }
    BeginLine(VALTYPE_GxStringUTF8, name ? name : "");
    m_Line.push_back('\t');
    GxContentTextNumber::AppendUInt(m_Line, escaped.size());
    m_Line += "\t\"";
    m_Line += escaped;
    m_Line.push_back('"');
    return WriteLine();
}

// The header line with the size, then the bytes as lower-case hexadecimal pairs, 32 bytes a line.
bool GxContentTextWriter::WriteBinary(const char* name, const void* data, uint32_t size)
{
    BeginLine(VALTYPE_GxBinary, name ? name : "");
    m_Line.push_back('\t');
    GxContentTextNumber::AppendUInt(m_Line, size);
    bool ok = WriteLine();
    if (size != 0 && !data)
        return false;
    static const char s_Digits[] = "0123456789abcdef";
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    for (uint32_t start = 0; start < size; start += 32)
    {
        const uint32_t end = size - start < 32 ? size : start + 32;
        m_Line.clear();
        for (uint32_t i = start; i < end; ++i)
        {
            m_Line.push_back(s_Digits[bytes[i] >> 4]);
            m_Line.push_back(s_Digits[bytes[i] & 15]);
        }
        ok = WriteLine();
    }
    return ok;
}

bool GxContentTextWriter::ListBegin(const char* name, const char* elementType, uint32_t count)
{
    BeginLine(VALTYPE_ListBegin, name ? name : "");
    m_Line.push_back('\t');
    m_Line.append(elementType ? elementType : "");
    m_Line.push_back('\t');
    GxContentTextNumber::AppendUInt(m_Line, count);
    m_Line += "\t{";
    return WriteLine();
}

bool GxContentTextWriter::TreeBegin(const char* name, const char* elementType)
{
    BeginLine(VALTYPE_TreeBegin, name ? name : "");
    m_Line.push_back('\t');
    m_Line.append(elementType ? elementType : "");
    m_Line += "\t{";
    return WriteLine();
}

bool GxContentTextWriter::TreeStratumBegin()
{
    BeginLine(VALTYPE_TreeStratumBegin, nullptr);
    m_Line += "\t{";
    return WriteLine();
}

bool GxContentTextWriter::ListEnd()
{
    BeginLine(VALTYPE_ListEnd, nullptr);
    m_Line += "\t}";
    return WriteLine();
}

bool GxContentTextWriter::TreeEnd()
{
    BeginLine(VALTYPE_TreeEnd, nullptr);
    m_Line += "\t}";
    return WriteLine();
}

bool GxContentTextWriter::TreeStratumEnd()
{
    BeginLine(VALTYPE_TreeStratumEnd, nullptr);
    m_Line += "\t}";
    return WriteLine();
}
