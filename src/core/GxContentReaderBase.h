#pragma once

#include "core/GxBit32.h"
#include "core/GxContentValueType.h"
#include "core/GxFColor.h"
#include "core/GxFRect.h"
#include "core/GxMatrix.h"
#include "core/GxPoint.h"
#include "core/GxQuaternion.h"
#include "core/GxRect.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"

#include <cstdarg>
#include <cstdint>
#include <initializer_list>
#include <string>

class GxBinBuffer;

// Reads a content record: typed, named values under a root name and a version, in the order they were
// written. The two forms (GxContentTextReader, GxContentBinaryReader) share this interface, so one
// client routine reads either.
//
// A reader never stops on bad data: a failed read returns false (or the type's default, or an empty
// string), logs one line and raises the error count, and the client tests GetErrorCount() when it is
// done. A reader that has run past its data fails every further read at once, so loops over counts
// taken from a damaged record end quickly. The bytes belong to the caller and must outlive the reader.
class GxContentReaderBase
{
public:
    virtual ~GxContentReaderBase() = default;

    // Points the reader at new bytes; the error count and the line number stay.
    virtual void SetBuffer(const void* data, uint32_t size);
    // Names are compared only while the flag is 1 (the text form stores names; the binary form none).
    void SetCheckValueName(int32_t flag) { m_CheckValueName = flag; }

    // The tag of the next value, nothing consumed.
    virtual uint32_t PeekValueType() = 0;
    virtual bool ReadHeader(const char* rootName, uint32_t& version) = 0;

    bool Read(const char* name, GxBit32& value);
    bool Read(const char* name, GxPoint4& value);
    bool Read(const char* name, GxPoint3& value);
    bool Read(const char* name, GxPoint2& value);
    bool Read(const char* name, GxFRect& value);
    bool Read(const char* name, GxRect& value);
    bool Read(const char* name, GxMatrix& value);
    bool Read(const char* name, GxFColor& value);
    bool Read(const char* name, GxQuaternion& value);
    bool Read(const char* name, GxVector4& value);
    bool Read(const char* name, GxVector3& value);
    bool Read(const char* name, GxVector2& value);
    bool Read(const char* name, bool& value);
    bool Read(const char* name, double& value);
    bool Read(const char* name, float& value);
    bool Read(const char* name, uint64_t& value);
    bool Read(const char* name, int64_t& value);
    bool Read(const char* name, uint32_t& value);
    bool Read(const char* name, int32_t& value);
    bool Read(const char* name, uint16_t& value);
    bool Read(const char* name, int16_t& value);
    bool Read(const char* name, uint8_t& value);
    bool Read(const char* name, int8_t& value);

    // Both assign ReadStringW / ReadStringA; true when that read raised no error.
    bool ReadString(const char* name, std::wstring& value);
    bool ReadString(const char* name, std::string& value);
    // Narrow results are in the system code page (CP932); both are empty on any failure.
    virtual std::string ReadStringA(const char* name) = 0;
    virtual std::wstring ReadStringW(const char* name) = 0;
    // Replaces the buffer's bytes with the stored block.
    virtual bool ReadBinary(const char* name, GxBinBuffer& value) = 0;

    // By-value reads: the type's default when the read fails (the failure shows in the error count).
    int8_t GetS8(const char* name);
    uint8_t GetU8(const char* name);
    int16_t GetS16(const char* name);
    uint16_t GetU16(const char* name);
    int32_t GetS32(const char* name);
    uint32_t GetU32(const char* name);
    int32_t GetS32L(const char* name);
    uint32_t GetU32L(const char* name);
    int64_t GetS64(const char* name);
    uint64_t GetU64(const char* name);
    float GetF32(const char* name);
    double GetF64(const char* name);
    bool GetBool(const char* name);
    GxVector2 GetVector2(const char* name);
    GxVector3 GetVector3(const char* name);
    GxVector4 GetVector4(const char* name);
    GxQuaternion GetQuat(const char* name);
    GxFColor GetFColor(const char* name);
    GxMatrix GetMatrix(const char* name);
    GxRect GetRect(const char* name);
    GxFRect GetFRect(const char* name);
    GxPoint2 GetPoint2(const char* name);
    GxPoint3 GetPoint3(const char* name);
    GxPoint4 GetPoint4(const char* name);
    GxBit32 GetBit32(const char* name);

    // A failed ListBegin gives the count 0. A count that cannot fit in what remains of the data is
    // refused, so a damaged count never drives a client into a huge allocation or an endless loop.
    virtual bool ListBegin(const char* name, uint32_t& count) = 0;
    // ListBegin for a list whose every item takes at least leastItemSize bytes (LeastSize): a count that
    // the bytes left cannot hold is refused like any damage (logged, counted, count 0), before the client
    // reserves anything or loops for it.
    bool ListBegin(const char* name, uint32_t& count, uint64_t leastItemSize);
    // The same hold for a count stored as a plain value before its items: true when count items of at
    // least leastItemSize bytes each fit in the bytes left; otherwise logged and counted like any damage.
    bool CheckCount(const char* name, uint64_t count, uint64_t leastItemSize);
    // The least bytes that one stored value of each kind listed takes in this form, summed: what a list
    // item made of them needs at the least. g_ContentValueString stands for a string and
    // g_ContentValueEmptyList for a nested list.
    uint64_t LeastSize(std::initializer_list<GxContentValueDesc> values) const;
    virtual bool ListEnd() = 0;
    bool ListItemBegin() { return true; }
    bool ListItemEnd() { return true; }
    virtual bool TreeBegin(const char* name) = 0;
    virtual bool TreeEnd() = 0;
    virtual bool TreeStratumBegin() = 0;
    virtual bool TreeStratumEnd() = 0;

    uint32_t GetErrorCount() const { return m_ErrorCount; }
    virtual bool IsEnd() = 0;
    // Consumes one stored value of any type; a list begin is consumed alone, its items stay.
    virtual bool SkipValue() = 0;

    // At most this many lines are logged per reader; later errors are only counted, so a large damaged
    // record cannot flood the error log.
    static constexpr uint32_t kMaxLoggedErrors = 32;

protected:
    GxContentReaderBase(const void* data, uint32_t size);

    // Reads one stored value of the described type into its components (an array of the component
    // type, of at least desc.m_Count elements; four floats for the three- and four-float vectors).
    virtual bool ReadValue(const char* name, const GxContentValueDesc& desc, void* components) = 0;
    // The least bytes one stored value of the described kind takes in this form (LeastSize).
    virtual uint32_t LeastValueSize(const GxContentValueDesc& desc) const = 0;
    // Reads a composite value through its components (GxContentComponents).
    template <typename T> bool ReadComponents(const char* name, T& value);

    // Raises the error count and logs the formatted line (narrow, ends in "\n") within the limit.
    void LogError(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const uint8_t* m_Cursor = nullptr;
    const uint8_t* m_End = nullptr;
    uint32_t m_ErrorCount = 0;
    int32_t m_CheckValueName = 1;
};
