#include "core/GxContentWriterBase.h"

#include "core/GxContentComponents.h"
#include "core/GxString.h"

static const float* MatrixFloats(const GxMatrix& m)
{
    return &m.m[0][0];
}

bool GxContentWriterBase::WriteBytes(const void* data, size_t size)
{
    if (!m_File)
        return false;
    if (size == 0)
        return true;
    return std::fwrite(data, 1, size, m_File) == size;
}

bool GxContentWriterBase::Write(const char* name, const GxBit32* value)
{
    const uint32_t c = value->m_Bits;
    return WriteValue(name, g_ContentValueBit32, &c);
}

template <typename T> bool GxContentWriterBase::WriteComponents(const char* name, const T& value)
{
    using Components = GxContentComponents<T>;
    const typename Components::Array c = Components::Get(value);
    return WriteValue(name, Components::kDesc, c.data());
}

bool GxContentWriterBase::Write(const char* name, const GxPoint4* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxPoint3* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxPoint2* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxFRect* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxRect* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxMatrix* value)
{
    return WriteValue(name, g_ContentValueMatrix, MatrixFloats(*value));
}
bool GxContentWriterBase::Write(const char* name, const GxFColor* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxQuaternion* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxVector4* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxVector3* value)
{
    return WriteComponents(name, *value);
}
bool GxContentWriterBase::Write(const char* name, const GxVector2* value)
{
    return WriteComponents(name, *value);
}

bool GxContentWriterBase::Write(const char* name, bool value)
{
    return WriteValue(name, g_ContentValueBool, &value);
}
bool GxContentWriterBase::Write(const char* name, double value)
{
    return WriteValue(name, g_ContentValueF64, &value);
}
bool GxContentWriterBase::Write(const char* name, float value)
{
    return WriteValue(name, g_ContentValueF32, &value);
}
bool GxContentWriterBase::Write(const char* name, uint64_t value)
{
    return WriteValue(name, g_ContentValueU64, &value);
}
bool GxContentWriterBase::Write(const char* name, int64_t value)
{
    return WriteValue(name, g_ContentValueS64, &value);
}
bool GxContentWriterBase::Write(const char* name, uint32_t value)
{
    return WriteValue(name, g_ContentValueU32, &value);
}
bool GxContentWriterBase::Write(const char* name, int32_t value)
{
    return WriteValue(name, g_ContentValueS32, &value);
}
bool GxContentWriterBase::Write(const char* name, uint16_t value)
{
    return WriteValue(name, g_ContentValueU16, &value);
}
bool GxContentWriterBase::Write(const char* name, int16_t value)
{
    return WriteValue(name, g_ContentValueS16, &value);
}
bool GxContentWriterBase::Write(const char* name, uint8_t value)
{
    return WriteValue(name, g_ContentValueU8, &value);
}
bool GxContentWriterBase::Write(const char* name, int8_t value)
{
    return WriteValue(name, g_ContentValueS8, &value);
}

bool GxContentWriterBase::WriteString(const char* name, const std::wstring& value)
{
    return WriteUtf8String(name, GxString::ToUtf8(value));
}

bool GxContentWriterBase::WriteString(const char* name, const std::string& value)
{
    return WriteUtf8String(name, GxString::ToUtf8(GxString::ToWide(value)));
}

bool GxContentWriterBase::WriteString(const char* name, const wchar_t* value)
{
    return WriteString(name, std::wstring(value ? value : L""));
}

bool GxContentWriterBase::WriteString(const char* name, const char* value)
{
    return WriteString(name, std::string(value ? value : ""));
}
