#pragma once
// One compiled script: its name, local labels, variable definitions and its lines of tokens, one line
// per source line.

#include "script/GxMoaDefinitionList.h"
#include "script/GxMoaLabelDefinition.h"
#include "script/GxMoaScriptStep.h"
#include "script/GxMoaVariableDefinition.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class GxMoa;
class GxMoaParseCache;

class GxMoaScript
{
public:
    explicit GxMoaScript(GxMoa* moa = nullptr) : m_pMoa(moa) {}
    virtual ~GxMoaScript() = default;

    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);
    void Clear();

    GxMoaLabelDefinition* FindLabel(const std::wstring& name) const;
    const GxMoaVariableDefinition* FindVariableDefinition(const std::wstring& name) const;
    // Inserts a copy under its name; false (nothing inserted) when the name exists.
    bool AddLabel(const GxMoaLabelDefinition& label);

    // The position queries run for every statement: they are defined here to be inlined.
    // The token at a position; outside the script or past a line's end, a shared token of kind 17.
    const GxMoaToken& GetToken(int32_t line, int32_t pos) const
    {
        if (CheckPos(line, pos) != 1)
            return EndToken();
        return m_Lines[static_cast<size_t>(line)].m_Tokens[static_cast<size_t>(pos)];
    }
    const GxMoaToken& GetToken(const GxMoaRunPos& pos) const { return GetToken(pos.m_Line, pos.m_Pos); }
    // 0 when either index is negative, -2 when the line is not below the line count, -1 when the
    // token index is not below the line's token count, 1 for a token.
    int CheckPos(int32_t line, int32_t pos) const
    {
        if (line < 0 || pos < 0)
            return 0;
        if (line >= GetLineCount())
            return -2;
        if (pos >= GetTokenCount(line))
            return -1;
        return 1;
    }
    int CheckPos(const GxMoaRunPos& pos) const { return CheckPos(pos.m_Line, pos.m_Pos); }
    int32_t GetLineCount() const { return static_cast<int32_t>(m_Lines.size()); }
    int32_t GetTokenCount(int32_t line) const
    {
        if (line < 0 || line >= GetLineCount())
            return 0;
        return static_cast<int32_t>(m_Lines[static_cast<size_t>(line)].m_Tokens.size());
    }

    static const GxMoaToken& EndToken();

    std::wstring m_ScriptName;
    std::map<std::wstring, std::unique_ptr<GxMoaLabelDefinition>> m_LabelDefine;
    GxMoaDefinitionList<GxMoaVariableDefinition> m_VariableDefine;
    std::vector<GxMoaScriptStep> m_Lines;
    GxMoa* m_pMoa = nullptr;
    // Expressions already parsed, by start position (not stored; dropped with the lines by Clear).
    mutable std::shared_ptr<GxMoaParseCache> m_pParseCache;
};
