#pragma once
// A variable declaration of the compiled program: name, array size (negative: not an array), scope,
// initial value, and the script and line it was declared in.

#include "script/GxMoaVariable.h"

#include <cstdint>
#include <string>

class GxMoaVariableDefinition
{
public:
    virtual ~GxMoaVariableDefinition() = default;
    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    std::wstring m_Name;
    int32_t m_ArraySize = -1;
    int32_t m_Scope = 0;
    GxMoaVariable m_InitValue;
    std::wstring m_ScriptName;
    int32_t m_Line = 0;
};
