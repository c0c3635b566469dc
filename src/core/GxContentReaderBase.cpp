#include "core/GxContentReaderBase.h"

#include "core/GxContentComponents.h"
#include "core/GxLog.h"

#include <cstdio>

// The 16 floats of a matrix, row by row, as records store them.
static float* MatrixFloats(GxMatrix& m)
{
    return &m.m[0][0];
}

GxContentReaderBase::GxContentReaderBase(const void* data, uint32_t size)
{
    GxContentReaderBase::SetBuffer(data, size);
}

void GxContentReaderBase::SetBuffer(const void* data, uint32_t size)
{
    m_Cursor = static_cast<const uint8_t*>(data);
    m_End = m_Cursor ? m_Cursor + size : nullptr;
}

void GxContentReaderBase::LogError(const char* format, ...)
{
    ++m_ErrorCount;
    if (m_ErrorCount > kMaxLoggedErrors)
        return;
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    GxLog::ErrorA("%s", line);
    if (m_ErrorCount == kMaxLoggedErrors)
        GxLog::ErrorA("%s", "GxContentReader/Too many errors in this record; the rest are counted, not logged\n");
}

bool GxContentReaderBase::ListBegin(const char* name, uint32_t& count, uint64_t leastItemSize)
{
    if (!ListBegin(name, count))
        return false;
    if (CheckCount(name, count, leastItemSize))
        return true;
    count = 0;
    return false;
}

bool GxContentReaderBase::CheckCount(const char* name, uint64_t count, uint64_t leastItemSize)
{
    const uint64_t remaining = m_Cursor ? static_cast<uint64_t>(m_End - m_Cursor) : 0;
    // Neither factor exceeds 2^32 in use, so the product cannot wrap.
    if (count * leastItemSize <= remaining)
        return true;
    LogError("GxContentReader/List %s Count %llu Exceeds What The Remaining %llu Bytes Hold\n", name ? name : "",
             static_cast<unsigned long long>(count), static_cast<unsigned long long>(remaining));
    return false;
}

uint64_t GxContentReaderBase::LeastSize(std::initializer_list<GxContentValueDesc> values) const
{
    uint64_t size = 0;
    for (const GxContentValueDesc& desc : values)
        size += LeastValueSize(desc);
    return size;
}

//----------------------------------------------------------------------------------------------------
// Typed reads: each value goes through the form's ReadValue as an array of components.

bool GxContentReaderBase::Read(const char* name, GxBit32& value)
{
    uint32_t bits = value.m_Bits;
    bool ok = ReadValue(name, g_ContentValueBit32, &bits);
    value.m_Bits = bits;
    return ok;
}

// The components go in as they are, so that a failed read leaves the value unchanged, and come back
// out whatever the read did.
template <typename T> bool GxContentReaderBase::ReadComponents(const char* name, T& value)
{
    using Components = GxContentComponents<T>;
    typename Components::Array c = Components::Get(value);
    bool ok = ReadValue(name, Components::kDesc, c.data());
    Components::Set(value, c);
    return ok;
}

bool GxContentReaderBase::Read(const char* name, GxPoint4& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxPoint3& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxPoint2& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxFRect& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxRect& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxMatrix& value)
{
    return ReadValue(name, g_ContentValueMatrix, MatrixFloats(value));
}
bool GxContentReaderBase::Read(const char* name, GxFColor& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxQuaternion& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxVector4& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxVector3& value)
{
    return ReadComponents(name, value);
}
bool GxContentReaderBase::Read(const char* name, GxVector2& value)
{
    return ReadComponents(name, value);
}

bool GxContentReaderBase::Read(const char* name, bool& value)
{
    return ReadValue(name, g_ContentValueBool, &value);
}
bool GxContentReaderBase::Read(const char* name, double& value)
{
    return ReadValue(name, g_ContentValueF64, &value);
}
bool GxContentReaderBase::Read(const char* name, float& value)
{
    return ReadValue(name, g_ContentValueF32, &value);
}
bool GxContentReaderBase::Read(const char* name, uint64_t& value)
{
    return ReadValue(name, g_ContentValueU64, &value);
}
bool GxContentReaderBase::Read(const char* name, int64_t& value)
{
    return ReadValue(name, g_ContentValueS64, &value);
}
bool GxContentReaderBase::Read(const char* name, uint32_t& value)
{
    return ReadValue(name, g_ContentValueU32, &value);
}
bool GxContentReaderBase::Read(const char* name, int32_t& value)
{
    return ReadValue(name, g_ContentValueS32, &value);
}
bool GxContentReaderBase::Read(const char* name, uint16_t& value)
{
    return ReadValue(name, g_ContentValueU16, &value);
}
bool GxContentReaderBase::Read(const char* name, int16_t& value)
{
    return ReadValue(name, g_ContentValueS16, &value);
}
bool GxContentReaderBase::Read(const char* name, uint8_t& value)
{
    return ReadValue(name, g_ContentValueU8, &value);
}
bool GxContentReaderBase::Read(const char* name, int8_t& value)
{
    return ReadValue(name, g_ContentValueS8, &value);
}

bool GxContentReaderBase::ReadString(const char* name, std::wstring& value)
{
    uint32_t before = m_ErrorCount;
    value = ReadStringW(name);
    return m_ErrorCount == before;
}

bool GxContentReaderBase::ReadString(const char* name, std::string& value)
{
    uint32_t before = m_ErrorCount;
    value = ReadStringA(name);
    return m_ErrorCount == before;
}

//----------------------------------------------------------------------------------------------------
// By-value reads.

template <typename T> static T GetWithDefault(GxContentReaderBase& reader, const char* name, T value)
{
    reader.Read(name, value);
    return value;
}

int8_t GxContentReaderBase::GetS8(const char* name)
{
    return GetWithDefault<int8_t>(*this, name, 0);
}
uint8_t GxContentReaderBase::GetU8(const char* name)
{
    return GetWithDefault<uint8_t>(*this, name, 0);
}
int16_t GxContentReaderBase::GetS16(const char* name)
{
    return GetWithDefault<int16_t>(*this, name, 0);
}
uint16_t GxContentReaderBase::GetU16(const char* name)
{
    return GetWithDefault<uint16_t>(*this, name, 0);
}
int32_t GxContentReaderBase::GetS32(const char* name)
{
    return GetWithDefault<int32_t>(*this, name, 0);
}
uint32_t GxContentReaderBase::GetU32(const char* name)
{
    return GetWithDefault<uint32_t>(*this, name, 0);
}
int32_t GxContentReaderBase::GetS32L(const char* name)
{
    return GetWithDefault<int32_t>(*this, name, 0);
}
uint32_t GxContentReaderBase::GetU32L(const char* name)
{
    return GetWithDefault<uint32_t>(*this, name, 0);
}
int64_t GxContentReaderBase::GetS64(const char* name)
{
    return GetWithDefault<int64_t>(*this, name, 0);
}
uint64_t GxContentReaderBase::GetU64(const char* name)
{
    return GetWithDefault<uint64_t>(*this, name, 0);
}
float GxContentReaderBase::GetF32(const char* name)
{
    return GetWithDefault<float>(*this, name, 0.0f);
}
double GxContentReaderBase::GetF64(const char* name)
{
    return GetWithDefault<double>(*this, name, 0.0);
}
bool GxContentReaderBase::GetBool(const char* name)
{
    return GetWithDefault<bool>(*this, name, false);
}

GxVector2 GxContentReaderBase::GetVector2(const char* name)
{
    GxVector2 v;
    v.x = v.y = 0.0f;
    return GetWithDefault(*this, name, v);
}

GxVector3 GxContentReaderBase::GetVector3(const char* name)
{
    GxVector3 v;
    v.x = v.y = v.z = v.w = 0.0f;
    return GetWithDefault(*this, name, v);
}

GxVector4 GxContentReaderBase::GetVector4(const char* name)
{
    GxVector4 v;
    v.x = v.y = v.z = v.w = 0.0f;
    return GetWithDefault(*this, name, v);
}

GxQuaternion GxContentReaderBase::GetQuat(const char* name)
{
    GxQuaternion q;
    q.SetIdentity();
    return GetWithDefault(*this, name, q);
}

GxFColor GxContentReaderBase::GetFColor(const char* name)
{
    return GetWithDefault(*this, name, GxFColor{});
}

GxMatrix GxContentReaderBase::GetMatrix(const char* name)
{
    GxMatrix m;
    m.SetIdentity();
    return GetWithDefault(*this, name, m);
}

GxRect GxContentReaderBase::GetRect(const char* name)
{
    return GetWithDefault(*this, name, GxRect{});
}
GxFRect GxContentReaderBase::GetFRect(const char* name)
{
    return GetWithDefault(*this, name, GxFRect{});
}
GxPoint2 GxContentReaderBase::GetPoint2(const char* name)
{
    return GetWithDefault(*this, name, GxPoint2{});
}
GxPoint3 GxContentReaderBase::GetPoint3(const char* name)
{
    return GetWithDefault(*this, name, GxPoint3{});
}
GxPoint4 GxContentReaderBase::GetPoint4(const char* name)
{
    return GetWithDefault(*this, name, GxPoint4{});
}
GxBit32 GxContentReaderBase::GetBit32(const char* name)
{
    return GetWithDefault(*this, name, GxBit32{});
}
