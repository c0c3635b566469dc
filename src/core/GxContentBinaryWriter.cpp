#include "core/GxContentBinaryWriter.h"

#include "core/GxLog.h"

#include <cstring>

static uint8_t* StoreBE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
    return p + 4;
}

static uint8_t* StoreBE64(uint8_t* p, uint64_t v)
{
    StoreBE32(p, uint32_t(v >> 32));
    return StoreBE32(p + 4, uint32_t(v));
}

GxContentBinaryWriter::GxContentBinaryWriter(FILE* file) : GxContentWriterBase(file) {}

bool GxContentBinaryWriter::WriteHeader(const char* rootName, uint32_t version)
{
    const char* root = rootName ? rootName : "";
    if (std::strlen(root) >= 16)
    {
        GxLog::Error(L"GxContentBinaryWriter/Header String Too Long(Limit=%d Chars)\n", 15);
        return false;
    }
    uint8_t header[20] = {};
    std::memcpy(header, root, std::strlen(root));
    StoreBE32(header + 16, version);
    return WriteBytes(header, sizeof header);
}

// The tag and the payload go out in one piece; the bytes are those of a tag write followed by one
// write per component.
bool GxContentBinaryWriter::WriteValue(const char*, const GxContentValueDesc& desc, const void* components)
{
    uint8_t bytes[1 + 16 * 8];
    uint8_t* p = bytes;
    *p++ = desc.m_Tag;
    for (uint32_t i = 0; i < desc.m_Count; ++i)
    {
        switch (desc.m_Component)
        {
        case GxContentComponent::S8:
        case GxContentComponent::U8:
            *p++ = static_cast<const uint8_t*>(components)[i];
            break;
        case GxContentComponent::Bool:
            *p++ = static_cast<const bool*>(components)[i] ? 1 : 0;
            break;
        case GxContentComponent::S16:
        case GxContentComponent::U16:
        {
            const uint16_t v = static_cast<const uint16_t*>(components)[i];
            *p++ = uint8_t(v >> 8);
            *p++ = uint8_t(v);
            break;
        }
        case GxContentComponent::S32:
        case GxContentComponent::U32:
            p = StoreBE32(p, static_cast<const uint32_t*>(components)[i]);
            break;
        case GxContentComponent::F32:
        {
            uint32_t bits;
            std::memcpy(&bits, static_cast<const float*>(components) + i, 4);
            p = StoreBE32(p, bits);
            break;
        }
        case GxContentComponent::S64:
        case GxContentComponent::U64:
            p = StoreBE64(p, static_cast<const uint64_t*>(components)[i]);
            break;
        case GxContentComponent::F64:
        {
            uint64_t bits;
            std::memcpy(&bits, static_cast<const double*>(components) + i, 8);
            p = StoreBE64(p, bits);
            break;
        }
        }
    }
    return WriteBytes(bytes, size_t(p - bytes));
}

bool GxContentBinaryWriter::WriteTagAndCount(uint8_t tag, uint32_t count)
{
    uint8_t bytes[5];
    bytes[0] = tag;
    StoreBE32(bytes + 1, count);
    return WriteBytes(bytes, sizeof bytes);
}

// Tag, byte count, the bytes and one NUL that the count leaves out.
bool GxContentBinaryWriter::WriteUtf8String(const char*, const std::string& utf8)
{
    const bool head = WriteTagAndCount(VALTYPE_GxStringUTF8, static_cast<uint32_t>(utf8.size()));
    const bool text = WriteBytes(utf8.c_str(), utf8.size() + 1);
    return head && text;
}

bool GxContentBinaryWriter::WriteBinary(const char*, const void* data, uint32_t size)
{
    const bool head = WriteTagAndCount(VALTYPE_GxBinary, size);
    const bool body = size == 0 || (data && WriteBytes(data, size));
    return head && body;
}

bool GxContentBinaryWriter::ListBegin(const char*, const char*, uint32_t count)
{
    return WriteTagAndCount(VALTYPE_ListBegin, count);
}

bool GxContentBinaryWriter::ListEnd()
{
    return WriteTag(VALTYPE_ListEnd);
}
bool GxContentBinaryWriter::TreeBegin(const char*, const char*)
{
    return WriteTag(VALTYPE_TreeBegin);
}
bool GxContentBinaryWriter::TreeEnd()
{
    return WriteTag(VALTYPE_TreeEnd);
}
bool GxContentBinaryWriter::TreeStratumBegin()
{
    return WriteTag(VALTYPE_TreeStratumBegin);
}
bool GxContentBinaryWriter::TreeStratumEnd()
{
    return WriteTag(VALTYPE_TreeStratumEnd);
}
