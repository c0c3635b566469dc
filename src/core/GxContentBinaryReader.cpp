#include "core/GxContentBinaryReader.h"

#include "core/GxBinBuffer.h"
#include "core/GxString.h"

#include <cstring>

// Payload bytes of each tag for SkipValue; 0 for the tags whose payload (if any) the skip reads itself.
static uint32_t SkipPayloadSize(uint8_t tag)
{
    switch (tag)
    {
    case 1:
    case 2:
    case 11:
        return 1;
    case 3:
    case 4:
        return 2;
    case 5:
    case 6:
    case 9:
    case 21:
        return 4;
    case 7:
    case 8:
    case 10:
    case 12:
    case 50:
        return 8;
    case 13:
    case 51:
        return 12;
    case 14:
    case 15:
    case 16:
    case 18:
    case 19:
    case 20:
    case 52:
        return 16;
    case 17:
        return 64;
    default:
        return 0;
    }
}

static uint32_t LoadBE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

static uint64_t LoadBE64(const uint8_t* p)
{
    return (uint64_t(LoadBE32(p)) << 32) | LoadBE32(p + 4);
}

GxContentBinaryReader::GxContentBinaryReader(const void* data, uint32_t size) : GxContentReaderBase(data, size) {}

GxContentBinaryReader::GxContentBinaryReader(const GxBinBuffer& buffer)
    : GxContentReaderBase(buffer.GetData(), buffer.GetSize())
{
}

bool GxContentBinaryReader::Need(uint64_t n)
{
    if (m_Cursor && n <= Remaining())
        return true;
    LogError("GxContentBinaryReader/ReadPos Overrun\n");
    m_Cursor = m_End;
    return false;
}

uint8_t GxContentBinaryReader::ReadTag()
{
    if (!Need(1))
        return 255;
    return *m_Cursor++;
}

bool GxContentBinaryReader::ReadU32Field(uint32_t& value)
{
    if (!Need(4))
        return false;
    value = LoadBE32(m_Cursor);
    m_Cursor += 4;
    return true;
}

uint32_t GxContentBinaryReader::PeekValueType()
{
    return m_Cursor < m_End ? *m_Cursor : 255;
}

bool GxContentBinaryReader::IsEnd()
{
    return m_Cursor >= m_End;
}

bool GxContentBinaryReader::ReadHeader(const char* rootName, uint32_t& version)
{
    if (!Need(16))
        return false;
    char field[16];
    std::memcpy(field, m_Cursor, 16);
    field[15] = '\0';
    if (std::strcmp(field, rootName ? rootName : "") != 0)
    {
        LogError("GxContentBinaryReader/FileHeader Isn't %s\n", rootName ? rootName : "");
        return false;
    }
    m_Cursor += 16;
    return ReadU32Field(version);
}

// Stores count big-endian components of the described kind into the caller's array. The whole payload
// is checked against what remains first, so a truncated value stores nothing.
bool GxContentBinaryReader::ReadComponents(const GxContentValueDesc& desc, uint32_t count, void* components)
{
    const uint32_t size = GxContentComponentSize(desc.m_Component);
    if (!Need(uint64_t(size) * count))
        return false;
    const uint8_t* p = m_Cursor;
    for (uint32_t i = 0; i < count; ++i, p += size)
    {
        switch (desc.m_Component)
        {
        case GxContentComponent::S8:
            static_cast<int8_t*>(components)[i] = static_cast<int8_t>(p[0]);
            break;
        case GxContentComponent::U8:
            static_cast<uint8_t*>(components)[i] = p[0];
            break;
        case GxContentComponent::Bool:
            static_cast<bool*>(components)[i] = p[0] != 0;
            break;
        case GxContentComponent::S16:
            static_cast<int16_t*>(components)[i] = static_cast<int16_t>((p[0] << 8) | p[1]);
            break;
        case GxContentComponent::U16:
            static_cast<uint16_t*>(components)[i] = static_cast<uint16_t>((p[0] << 8) | p[1]);
            break;
        case GxContentComponent::S32:
            static_cast<int32_t*>(components)[i] = static_cast<int32_t>(LoadBE32(p));
            break;
        case GxContentComponent::U32:
            static_cast<uint32_t*>(components)[i] = LoadBE32(p);
            break;
        case GxContentComponent::F32:
        {
            uint32_t bits = LoadBE32(p);
            std::memcpy(static_cast<float*>(components) + i, &bits, 4);
            break;
        }
        case GxContentComponent::S64:
            static_cast<int64_t*>(components)[i] = static_cast<int64_t>(LoadBE64(p));
            break;
        case GxContentComponent::U64:
            static_cast<uint64_t*>(components)[i] = LoadBE64(p);
            break;
        case GxContentComponent::F64:
        {
            uint64_t bits = LoadBE64(p);
            std::memcpy(static_cast<double*>(components) + i, &bits, 8);
            break;
        }
        }
    }
    m_Cursor = p;
    return true;
}

bool GxContentBinaryReader::ReadValue(const char*, const GxContentValueDesc& desc, void* components)
{
    const uint8_t tag = ReadTag();
    if (tag == desc.m_Tag)
        return ReadComponents(desc, desc.m_Count, components);

    // A stored four-float vector also serves as a quaternion, a colour or (its w dropped) a three-float
    // vector, and a stored three-float vector as a four-float one with w = 0.
    if (tag == VALTYPE_GxVector4 &&
        (desc.m_Tag == VALTYPE_GxQuat || desc.m_Tag == VALTYPE_GxFColor || desc.m_Tag == VALTYPE_GxVector3))
    {
        float c[4];
        if (!ReadComponents(desc, 4, c))
            return false;
        float* out = static_cast<float*>(components);
        std::memcpy(out, c, sizeof c);
        if (desc.m_Tag == VALTYPE_GxVector3)
            out[3] = 0.0f;
        return true;
    }
    if (tag == VALTYPE_GxVector3 && desc.m_Tag == VALTYPE_GxVector4)
    {
        float* out = static_cast<float*>(components);
        if (!ReadComponents(desc, 3, out))
            return false;
        out[3] = 0.0f;
        return true;
    }

    LogError("GxContentBinaryReader/ValueType Isn't VALTYPE_%s\n", desc.m_TypeName);
    return false;
}

// A tag and its payload. A four-float vector may be stored as a three-float one, so it can take 13 bytes;
// a string is at least its count and terminator, a list its count and its end tag.
uint32_t GxContentBinaryReader::LeastValueSize(const GxContentValueDesc& desc) const
{
    switch (desc.m_Tag)
    {
    case VALTYPE_GxStringUTF8:
    case VALTYPE_GxStringSJIS:
        return 1 + 4 + 1;
    case VALTYPE_ListBegin:
        return 1 + 4 + 1;
    case VALTYPE_GxVector4:
        return 1 + 3 * 4;
    default:
        return 1 + uint32_t(desc.m_Count) * GxContentComponentSize(desc.m_Component);
    }
}

bool GxContentBinaryReader::ReadStringBytes(std::string& text, uint8_t& tag)
{
    text.clear();
    tag = ReadTag();
    if (tag != VALTYPE_GxStringSJIS && tag != VALTYPE_GxStringUTF8)
    {
        LogError("GxContentBinaryReader/ValueType Isn't VALTYPE_GxStringSJIS or VALTYPE_GxStringUTF8\n");
        return false;
    }
    uint32_t count = 0;
    // The terminator follows the counted bytes, so count + 1 bytes must remain.
    if (!ReadU32Field(count) || !Need(uint64_t(count) + 1))
        return false;
    const char* bytes = reinterpret_cast<const char*>(m_Cursor);
    // A NUL inside the stored bytes ends the text there.
    text.assign(bytes, strnlen(bytes, count));
    m_Cursor += uint64_t(count) + 1;
    return true;
}

std::string GxContentBinaryReader::ReadStringA(const char*)
{
    std::string text;
    uint8_t tag = 0;
    if (!ReadStringBytes(text, tag))
        return {};
    if (tag == VALTYPE_GxStringSJIS)
        return text;
    return GxString::ToMultiByte(GxString::FromUtf8(text));
}

std::wstring GxContentBinaryReader::ReadStringW(const char*)
{
    std::string text;
    uint8_t tag = 0;
    if (!ReadStringBytes(text, tag))
        return {};
    if (tag == VALTYPE_GxStringSJIS)
        return GxString::ToWide(text);
    return GxString::FromUtf8(text);
}

bool GxContentBinaryReader::ReadBinary(const char*, GxBinBuffer& value)
{
    if (ReadTag() != VALTYPE_GxBinary)
    {
        LogError("GxContentBinaryReader/ValueType Isn't VALTYPE_GxBinary\n");
        return false;
    }
    uint32_t size = 0;
    if (!ReadU32Field(size) || !Need(size))
        return false;
    uint8_t* data = value.Alloc(size);
    if (size != 0 && data)
        std::memcpy(data, m_Cursor, size);
    m_Cursor += size;
    return true;
}

bool GxContentBinaryReader::ListBegin(const char*, uint32_t& count)
{
    count = 0;
    if (ReadTag() != VALTYPE_ListBegin)
    {
        LogError("GxContentBinaryReader/ValueType Isn't VALTYPE_ListBegin\n");
        return false;
    }
    uint32_t stored = 0;
    if (!ReadU32Field(stored))
        return false;
    // Every item holds at least one tag byte: a larger count is damage, and trusting it would send the
    // client's item loop far past the data.
    if (!Need(stored))
        return false;
    count = stored;
    return true;
}

bool GxContentBinaryReader::ReadDelimiter(uint8_t tag, const char* typeName)
{
    if (ReadTag() == tag)
        return true;
    LogError("GxContentBinaryReader/ValueType Isn't VALTYPE_%s\n", typeName);
    return false;
}

bool GxContentBinaryReader::ListEnd()
{
    return ReadDelimiter(VALTYPE_ListEnd, "ListEnd");
}
bool GxContentBinaryReader::TreeBegin(const char*)
{
    return ReadDelimiter(VALTYPE_TreeBegin, "TreeBegin");
}
bool GxContentBinaryReader::TreeEnd()
{
    return ReadDelimiter(VALTYPE_TreeEnd, "TreeEnd");
}
bool GxContentBinaryReader::TreeStratumBegin()
{
    return ReadDelimiter(VALTYPE_TreeStratumBegin, "TreeStratumBegin");
}
bool GxContentBinaryReader::TreeStratumEnd()
{
    return ReadDelimiter(VALTYPE_TreeStratumEnd, "TreeStratumEnd");
}

bool GxContentBinaryReader::SkipValue()
{
    if (!Need(1))
        return false;
    const uint8_t tag = *m_Cursor++;
    const uint32_t size = SkipPayloadSize(tag);
    if (size != 0)
    {
        if (!Need(size))
            return false;
        m_Cursor += size;
        return true;
    }
    uint32_t n = 0;
    switch (tag)
    {
    case VALTYPE_GxStringSJIS:
    case VALTYPE_GxStringUTF8:
        if (!ReadU32Field(n) || !Need(uint64_t(n) + 1))
            return false;
        m_Cursor += uint64_t(n) + 1;
        break;
    case VALTYPE_GxBinary:
        if (!ReadU32Field(n) || !Need(n))
            return false;
        m_Cursor += n;
        break;
    case VALTYPE_ListBegin:
        return ReadU32Field(n);
    default:
        break;
    }
    return true;
}
