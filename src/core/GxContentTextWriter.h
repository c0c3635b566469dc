#pragma once

#include "core/GxContentWriterBase.h"

// Writes the text form of a content record (read by GxContentTextReader): a header line "root TAB
// version", then one line per value: the tag as two lower-case hexadecimal digits, the name and the
// components, separated by TABs and ended by a line feed alone. Numbers are printed as in the "C"
// locale; floats with six decimals, which is all the precision this form keeps.
class GxContentTextWriter : public GxContentWriterBase
{
public:
    explicit GxContentTextWriter(FILE* file);

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
    // Starts m_Line with the tag and, when given, a TAB and the name.
    void BeginLine(uint8_t tag, const char* name);
    bool WriteLine();

    std::string m_Line; // the line being built, kept to save an allocation per value
};
