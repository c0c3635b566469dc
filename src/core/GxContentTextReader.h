#pragma once

#include "core/GxContentReaderBase.h"

#include <string_view>
#include <vector>

// Reads the text form of a content record (written by GxContentTextWriter): one value per line, its
// fields separated by TABs: the tag in hexadecimal, the name, the components. Every read consumes whole
// lines and never rewinds, so a record with a missing or damaged line fails on the following values and
// the error count shows it. CR and FF are dropped wherever they stand, so CR LF files read as LF ones.
//
// Numbers are parsed as in the "C" locale. A line with fewer fields than its type needs, a binary block
// larger than the text left could hold and a list count larger than the lines left are errors like any
// other (logged, counted, default value).
class GxContentTextReader : public GxContentReaderBase
{
public:
    GxContentTextReader(const void* data, uint32_t size);
    explicit GxContentTextReader(const GxBinBuffer& buffer);

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

    // Line feeds consumed so far: after a read, the number of the line just read.
    uint32_t GetLineNumber() const { return m_LineNumber; }

protected:
    bool ReadValue(const char* name, const GxContentValueDesc& desc, void* components) override;
    uint32_t LeastValueSize(const GxContentValueDesc& desc) const override;

private:
    // One line from the cursor, without its line end (GxText::ReadLine over UTF-8); the view lives until
    // the next line is read.
    std::string_view ReadLine(const uint8_t*& cursor, uint32_t& lineNumber);
    void SkipLine();
    // Reads the next line into m_Fields and returns its tag.
    int32_t ReadFields();
    int LineForLog() const { return static_cast<int>(m_LineNumber); }
    // The checks after the tag: a name field that matches, and at least `needed` fields in all.
    bool CheckNameAndFields(const char* name, size_t needed, const char* prefix, const char* typeName);
    bool ReadDelimiter(uint8_t tag, const char* typeName);
    // The quoted field of a string line and its tag; false after logging when the line is no string.
    bool ReadStringField(const char* name, std::string_view& quoted, int32_t& tag);

    uint32_t m_LineNumber = 0;
    std::string m_Line;                     // the last line read, without its line end
    std::vector<std::string_view> m_Fields; // the fields of the last line read
};
