#pragma once

#include "core/GxContentWriterBase.h"

// Writes the binary form of a content record (read by GxContentBinaryReader): the root name in a
// 16-byte NUL-padded field, the version, then each value as its tag and its payload, every number
// big-endian whatever the host's byte order, with no names.
class GxContentBinaryWriter : public GxContentWriterBase
{
public:
    explicit GxContentBinaryWriter(FILE* file);

    bool WriteHeader(const char* rootName, uint32_t version) override;
    bool WriteBinary(const char* name, const void* data, uint32_t size) override;
    bool ListBegin(const char* name, const char* elementType, uint32_t count) override;
    bool ListEnd() override;
    bool TreeBegin(const char* name, const char* elementType) override;
    bool TreeEnd() override;
    bool TreeStratumBegin() override;
    bool TreeStratumEnd() override;

protected:
    bool WriteValue(const char* name, const GxContentValueDesc& desc, const void* components) override;
    bool WriteUtf8String(const char* name, const std::string& utf8) override;

private:
    bool WriteTag(uint8_t tag) { return WriteBytes(&tag, 1); }
    // The tag and a 32-bit big-endian number (a count or a size), in one piece.
    bool WriteTagAndCount(uint8_t tag, uint32_t count);
};
