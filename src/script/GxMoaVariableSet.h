#pragma once
// One named script variable: its value, scope and name (without sigil).

#include "script/GxMoaVariable.h"

#include <cstdint>
#include <string>

class GxMoaVariableSet
{
public:
    GxMoaVariableSet() = default;
    explicit GxMoaVariableSet(const GxMoaVariable& value) : m_Value(value) {}
    GxMoaVariableSet(const std::wstring& name, const GxMoaVariable& value, int32_t scope = 1)
        : m_Value(value), m_Scope(scope), m_Name(name)
    {
    }
    virtual ~GxMoaVariableSet() = default;

    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    GxMoaVariable m_Value;
    int32_t m_Scope = 1;
    std::wstring m_Name = L"_";
};
