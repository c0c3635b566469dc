#pragma once

#include "core/GxContentReaderBase.h"

// Reads the binary form of a content record: a 16-byte root name, a big-endian version, then every value
// as its one-byte tag and its big-endian payload, with no names (GxContentBinaryWriter writes it).
//
// Every read compares the length it needs with what remains before touching a byte; a read that would
// pass the end logs "ReadPos Overrun", counts it and leaves the cursor at the end, so the rest of a
// truncated record fails fast. No read moves the cursor backwards.
class GxContentBinaryReader : public GxContentReaderBase
{
public:
    GxContentBinaryReader(const void* data, uint32_t size);
    explicit GxContentBinaryReader(const GxBinBuffer& buffer);

    uint32_t PeekValueType() override;
    bool ReadHeader(const char* rootName, uint32_t& version) override;
    std::string ReadStringA(const char* name) override;
    std::wstring ReadStringW(const char* name) override;
    bool ReadBinary(const char* name, GxBinBuffer& value) override;
    using GxContentReaderBase::ListBegin;
    bool ListBegin(const char* name, uint32_t& count) override;
    bool ListEnd() override;
    bool TreeBegin(const char* name) override;
    bool TreeEnd() override;
    bool TreeStratumBegin() override;
    bool TreeStratumEnd() override;
    bool IsEnd() override;
    bool SkipValue() override;

protected:
    bool ReadValue(const char* name, const GxContentValueDesc& desc, void* components) override;
    uint32_t LeastValueSize(const GxContentValueDesc& desc) const override;

private:
    uint32_t Remaining() const { return static_cast<uint32_t>(m_End - m_Cursor); }
    // The tag byte, or 255 (no tag) after logging the overrun.
    uint8_t ReadTag();
    // Checks that n more bytes remain; otherwise logs the overrun and moves the cursor to the end.
    bool Need(uint64_t n);
    bool ReadU32Field(uint32_t& value);
    bool ReadComponents(const GxContentValueDesc& desc, uint32_t count, void* components);
    // A string's tag, count, bytes and terminator; false with an empty text on any failure.
    bool ReadStringBytes(std::string& text, uint8_t& tag);
    bool ReadDelimiter(uint8_t tag, const char* typeName);
};
