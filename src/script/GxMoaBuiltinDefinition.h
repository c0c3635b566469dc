#pragma once
// Binds a builtin name used by the program to its builtin index.

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;

class GxMoaBuiltinDefinition
{
public:
    virtual ~GxMoaBuiltinDefinition() = default;
    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    std::wstring m_Name;
    int32_t m_BuiltinIndex = -1;
    int32_t m_RelatedIndex = -1;
    int32_t m_BuiltinType = 1;
};
