#pragma once
// A label of the compiled program: its name (names beginning with "@" are local to their script),
// where it stands and a scope code.

#include "script/GxMoaScriptPos.h"

#include <cstdint>
#include <string>

class GxMoaLabelDefinition
{
public:
    virtual ~GxMoaLabelDefinition() = default;
    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    std::wstring m_Name;
    GxMoaScriptPos m_Pos;
    int32_t m_Scope = 0;
};
