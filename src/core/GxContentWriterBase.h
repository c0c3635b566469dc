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

#include <cstdint>
#include <cstdio>
#include <string>

// Writes a content record: a root name and a version, then typed, named values in a fixed order
// (GxContentTextWriter and GxContentBinaryWriter). The writer writes to a FILE* that the caller opened
// with "wb" and closes after deleting the writer; it never opens, flushes or closes it. Every operation
// returns true when its bytes were written.
class GxContentWriterBase
{
public:
    explicit GxContentWriterBase(FILE* file) : m_File(file) {}
    virtual ~GxContentWriterBase() = default;

    // Root names are at most 15 characters; a longer one is logged and nothing is written.
    virtual bool WriteHeader(const char* rootName, uint32_t version) = 0;

    bool Write(const char* name, const GxBit32* value);
    bool Write(const char* name, const GxPoint4* value);
    bool Write(const char* name, const GxPoint3* value);
    bool Write(const char* name, const GxPoint2* value);
    bool Write(const char* name, const GxFRect* value);
    bool Write(const char* name, const GxRect* value);
    bool Write(const char* name, const GxMatrix* value);
    bool Write(const char* name, const GxFColor* value);
    bool Write(const char* name, const GxQuaternion* value);
    bool Write(const char* name, const GxVector4* value);
    bool Write(const char* name, const GxVector3* value);
    bool Write(const char* name, const GxVector2* value);
    bool Write(const char* name, bool value);
    bool Write(const char* name, double value);
    bool Write(const char* name, float value);
    bool Write(const char* name, uint64_t value);
    bool Write(const char* name, int64_t value);
    bool Write(const char* name, uint32_t value);
    bool Write(const char* name, int32_t value);
    bool Write(const char* name, uint16_t value);
    bool Write(const char* name, int16_t value);
    bool Write(const char* name, uint8_t value);
    bool Write(const char* name, int8_t value);
    // Text goes through WriteString; without these a string literal would quietly become a bool.
    bool Write(const char* name, const char* value) = delete;
    bool Write(const char* name, const wchar_t* value) = delete;

    // Both forms store strings as UTF-8 under VALTYPE_GxStringUTF8; narrow text is in the system code
    // page (CP932). A null pointer writes an empty string.
    bool WriteString(const char* name, const std::wstring& value);
    bool WriteString(const char* name, const std::string& value);
    bool WriteString(const char* name, const wchar_t* value);
    bool WriteString(const char* name, const char* value);
    virtual bool WriteBinary(const char* name, const void* data, uint32_t size) = 0;

    // The element type name only informs a reader of the text form; it may be empty or null.
    virtual bool ListBegin(const char* name, const char* elementType, uint32_t count) = 0;
    virtual bool ListEnd() = 0;
    bool ListItemBegin() { return true; }
    bool ListItemEnd() { return true; }
    virtual bool TreeBegin(const char* name, const char* elementType) = 0;
    virtual bool TreeEnd() = 0;
    virtual bool TreeStratumBegin() = 0;
    virtual bool TreeStratumEnd() = 0;

    uint32_t GetErrorCount() const { return 0; }
    void SetFile(FILE* file) { m_File = file; }

protected:
    // Writes one value of the described type from its components (an array of the component type).
    virtual bool WriteValue(const char* name, const GxContentValueDesc& desc, const void* components) = 0;
    // Writes a composite value from its components (GxContentComponents).
    template <typename T> bool WriteComponents(const char* name, const T& value);
    // Writes a string already converted to UTF-8.
    virtual bool WriteUtf8String(const char* name, const std::string& utf8) = 0;

    // One fwrite of the whole piece; true when all of it was written.
    bool WriteBytes(const void* data, size_t size);

    FILE* m_File = nullptr;
};
