#pragma once
// The loaded script program: global labels, variable and builtin definitions, named values, the
// scripts, the EXTERN variables and the run state (error stop, breakpoint, counters).
//
// Program file layout (content binary values, no root header): list of global labels; list of
// variable definitions; list of builtin definitions; list of scripts, each its name, its local
// labels, its variable definitions and its lines of tokens.

#include "script/GxMoaBuiltinDefinition.h"
#include "script/GxMoaDefinitionList.h"
#include "script/GxMoaLabelDefinition.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaVariableDefinition.h"
#include "script/GxMoaVariableTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class GxMoaBuiltinBase;
class GxMoaScriptEntity;
class GxMoaWorker;

class GxMoa
{
public:
    GxMoa();
    GxMoa(const GxMoa&) = delete;
    GxMoa& operator=(const GxMoa&) = delete;
    virtual ~GxMoa();

    virtual void Clear();
    virtual int ResetRunState();
    virtual bool AddLabel(const GxMoaLabelDefinition& def);
    virtual bool AddVariableDefinition(const GxMoaVariableDefinition& def);
    virtual bool AddBuiltinDefinition(const GxMoaBuiltinDefinition& def);
    virtual bool AddNamedValue(const std::wstring& name, const GxMoaVariable& value);
    virtual GxMoaLabelDefinition* FindLabel(const std::wstring& name) const;
    virtual const GxMoaVariableDefinition* FindVariableDefinition(const std::wstring& name) const;
    virtual const GxMoaBuiltinDefinition* FindBuiltinDefinition(const std::wstring& name) const;
    virtual GxMoaVariable* FindNamedValue(const std::wstring& name) const;
    virtual GxMoaScript* FindScript(const std::wstring& name) const;
    virtual GxMoaVariableTable* GetVariableTable() { return &m_ExternTable; }
    virtual GxMoaLabelDefinition* FindLabelInScript(const std::wstring& name, const GxMoaScript* script) const;
    virtual GxMoaLabelDefinition* FindLabelForEntity(const std::wstring& name, const GxMoaScriptEntity* entity) const;
    virtual bool LabelExistsInScript(const std::wstring& label, const std::wstring& scriptName) const;
    virtual bool Write(GxContentWriterBase* writer) const;
    virtual bool Read(GxContentReaderBase* reader);

    // Variables by persistence class.
    virtual bool WriteVariables(GxContentWriterBase* writer, int32_t persistClass) const;
    virtual bool ReadVariables(GxContentReaderBase* reader, int32_t persistClass);
    virtual bool ReloadVariables(GxContentReaderBase* reader, int32_t persistClass);
    virtual void CreateExternVariables();
    virtual void RecreateExternVariables();
    virtual void ResetVariablesOfClass(int32_t persistClass);
    virtual bool ResetGameVariables();
    virtual void Dump(std::wstring& out, int indent) const;

    // Reports. The base only counts warnings and errors; the adventure runtime writes them out.
    virtual void Log(const wchar_t* format, ...);
    virtual void Warning(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...);
    virtual void Error(const std::wstring& scriptName, int32_t line, const wchar_t* format, ...);

    // The same lookup as FindLabelInScript, under the name the builtins know it by.
    bool HasScriptLabel(const std::wstring& label, const std::wstring& scriptName) const
    {
        return LabelExistsInScript(label, scriptName);
    }
    // Evaluates the expression at the position: compiles it into the worker's top frame and runs it.
    // The position is the parser's cursor and ends on the token that ended the expression. The result,
    // when wanted, is the one value the expression left (Null otherwise). On failure the error has been
    // reported and the error-stop flag is set. Defined with the expression machine.
    bool Eval_Token(GxMoaVariable* result, GxMoaBuiltinBase* builtin, GxMoaWorker* worker, GxMoaRunPos& position,
                    bool warnOnCreate);
    // FindLabelForEntity under the name the builtins know it by.
    GxMoaLabelDefinition* FindLabelForWorker(const std::wstring& name, const GxMoaScriptEntity* context) const
    {
        return FindLabelForEntity(name, context);
    }
    // Takes ownership of a script; false (and the script dropped) when the name exists.
    bool AddScript(std::unique_ptr<GxMoaScript> script);

    std::map<std::wstring, std::unique_ptr<GxMoaLabelDefinition>> m_LabelDefine;
    GxMoaDefinitionList<GxMoaVariableDefinition> m_VariableDefine;
    GxMoaDefinitionList<GxMoaBuiltinDefinition> m_BuiltinDefine;
    std::map<std::wstring, std::unique_ptr<GxMoaVariable>> m_NamedValue;
    std::map<std::wstring, std::unique_ptr<GxMoaScript>> m_ScriptDefine;
    std::vector<GxMoaVariable> m_RunState;
    GxMoaVariableTable m_ExternTable{TABLE_EXTERN};

    uint8_t m_ErrorStop = 0;
    uint8_t m_Breakpoint = 0;
    uint32_t m_ErrorCount = 0;
    uint32_t m_WarningCount = 0;
};
