#pragma once
// A run position together with the name of its script and, in memory, the worker's entity of that
// script (resolved by name; null when the name is empty or no entity has it).

#include "script/GxMoaRunPos.h"

#include <string>

class GxMoaScriptEntity;

class GxMoaScriptPos : public GxMoaRunPos
{
public:
    GxMoaScriptPos() = default;
    GxMoaScriptPos(int32_t line, int32_t pos, const std::wstring& script) : GxMoaRunPos(line, pos), m_ScriptName(script)
    {
    }

    bool Write(GxContentWriterBase* writer) const override;
    bool Read(GxContentReaderBase* reader) override;

    std::wstring m_ScriptName;
    GxMoaScriptEntity* m_pEntity = nullptr;
};
