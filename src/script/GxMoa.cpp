#include "script/GxMoa.h"

#include "script/GxMoaRecordIO.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaScriptEntity.h"

#include <cstdarg>

using namespace GxMoaRecordIO;

GxMoa::GxMoa()
{
    ResetRunState();
}

GxMoa::~GxMoa()
{
    GxMoa::Clear();
}

void GxMoa::Clear()
{
    m_LabelDefine.clear();
    m_VariableDefine.clear();
    m_BuiltinDefine.clear();
    m_NamedValue.clear();
    m_ScriptDefine.clear();
}

int GxMoa::ResetRunState()
{
    m_RunState.clear();
    m_ErrorStop = 0;
    m_Breakpoint = 0;
    m_ErrorCount = 0;
    m_WarningCount = 0;
    return 0;
}

bool GxMoa::AddLabel(const GxMoaLabelDefinition& def)
{
    if (m_LabelDefine.count(def.m_Name))
        return false;
    m_LabelDefine.emplace(def.m_Name, std::make_unique<GxMoaLabelDefinition>(def));
    return true;
}

bool GxMoa::AddVariableDefinition(const GxMoaVariableDefinition& def)
{
    if (FindVariableDefinition(def.m_Name))
        return false;
    m_VariableDefine.push_back(def);
    return true;
}

bool GxMoa::AddBuiltinDefinition(const GxMoaBuiltinDefinition& def)
{
    if (FindBuiltinDefinition(def.m_Name))
        return false;
    m_BuiltinDefine.push_back(def);
    return true;
}

bool GxMoa::AddNamedValue(const std::wstring& name, const GxMoaVariable& value)
{
    if (m_NamedValue.count(name))
        return false;
    m_NamedValue.emplace(name, std::make_unique<GxMoaVariable>(value));
    return true;
}

bool GxMoa::AddScript(std::unique_ptr<GxMoaScript> script)
{
    if (!script || m_ScriptDefine.count(script->m_ScriptName))
        return false;
    script->m_pMoa = this;
    const std::wstring name = script->m_ScriptName;
    m_ScriptDefine.emplace(name, std::move(script));
    return true;
}

GxMoaLabelDefinition* GxMoa::FindLabel(const std::wstring& name) const
{
    auto it = m_LabelDefine.find(name);
    return it == m_LabelDefine.end() ? nullptr : it->second.get();
}

const GxMoaVariableDefinition* GxMoa::FindVariableDefinition(const std::wstring& name) const
{
    return m_VariableDefine.Find(name);
}

const GxMoaBuiltinDefinition* GxMoa::FindBuiltinDefinition(const std::wstring& name) const
{
    return m_BuiltinDefine.Find(name);
}

GxMoaVariable* GxMoa::FindNamedValue(const std::wstring& name) const
{
    auto it = m_NamedValue.find(name);
    return it == m_NamedValue.end() ? nullptr : it->second.get();
}

GxMoaScript* GxMoa::FindScript(const std::wstring& name) const
{
    auto it = m_ScriptDefine.find(name);
    return it == m_ScriptDefine.end() ? nullptr : it->second.get();
}

GxMoaLabelDefinition* GxMoa::FindLabelInScript(const std::wstring& name, const GxMoaScript* script) const
{
    if (name.empty())
        return nullptr;
    if (name[0] == L'@')
        return script ? script->FindLabel(name) : nullptr;
    return FindLabel(name);
}

GxMoaLabelDefinition* GxMoa::FindLabelForEntity(const std::wstring& name, const GxMoaScriptEntity* entity) const
{
    return FindLabelInScript(name, entity ? entity->m_pScript : nullptr);
}

bool GxMoa::LabelExistsInScript(const std::wstring& label, const std::wstring& scriptName) const
{
    return FindLabelInScript(label, FindScript(scriptName)) != nullptr;
}

bool GxMoa::Write(GxContentWriterBase* writer) const
{
    writer->ListBegin("m_pLabelDefine", "", static_cast<uint32_t>(m_LabelDefine.size()));
    for (const auto& entry : m_LabelDefine)
        entry.second->Write(writer);
    writer->ListEnd();
    writer->ListBegin("m_VariableDefine", "", static_cast<uint32_t>(m_VariableDefine.size()));
    for (const GxMoaVariableDefinition& def : m_VariableDefine)
        def.Write(writer);
    writer->ListEnd();
    writer->ListBegin("m_BuiltinDefine", "", static_cast<uint32_t>(m_BuiltinDefine.size()));
    for (const GxMoaBuiltinDefinition& def : m_BuiltinDefine)
        def.Write(writer);
    writer->ListEnd();
    writer->ListBegin("m_pScriptDefine", "", static_cast<uint32_t>(m_ScriptDefine.size()));
    for (const auto& entry : m_ScriptDefine)
        entry.second->Write(writer);
    writer->ListEnd();
    return writer->GetErrorCount() == 0;
}

bool GxMoa::Read(GxContentReaderBase* reader)
{
    Clear();
    auto fail = [this]()
    {
        // A program read only in part is dropped whole: nothing may run from half a program.
        Clear();
        return false;
    };
    uint32_t count = 0;
    if (!BeginList(reader, "m_pLabelDefine", count))
        return fail();
    for (uint32_t i = 0; i < count; ++i)
    {
        auto label = std::make_unique<GxMoaLabelDefinition>();
        if (!label->Read(reader))
            return fail();
        m_LabelDefine.emplace(label->m_Name, std::move(label));
    }
    if (!EndList(reader) || !BeginList(reader, "m_VariableDefine", count))
        return fail();
    for (uint32_t i = 0; i < count; ++i)
    {
        GxMoaVariableDefinition def;
        if (!def.Read(reader))
            return fail();
        m_VariableDefine.push_back(std::move(def));
    }
    if (!EndList(reader) || !BeginList(reader, "m_BuiltinDefine", count))
        return fail();
    for (uint32_t i = 0; i < count; ++i)
    {
        GxMoaBuiltinDefinition def;
        if (!def.Read(reader))
            return fail();
        m_BuiltinDefine.push_back(std::move(def));
    }
    if (!EndList(reader) || !BeginList(reader, "m_pScriptDefine", count))
        return fail();
    for (uint32_t i = 0; i < count; ++i)
    {
        auto script = std::make_unique<GxMoaScript>(this);
        if (!script->Read(reader))
            return fail();
        // The first of two scripts with one name is kept.
        const std::wstring name = script->m_ScriptName;
        m_ScriptDefine.emplace(name, std::move(script));
    }
    if (!EndList(reader))
        return fail();
    return true;
}

// ---------------------------------------------------------------------------------------------------
// EXTERN variables
// ---------------------------------------------------------------------------------------------------

bool GxMoa::WriteVariables(GxContentWriterBase* writer, int32_t persistClass) const
{
    m_ExternTable.Write(writer, persistClass);
    return writer->GetErrorCount() == 0;
}

bool GxMoa::ReadVariables(GxContentReaderBase* reader, int32_t persistClass)
{
    return m_ExternTable.Read(reader, persistClass) && Ok(reader);
}

bool GxMoa::ReloadVariables(GxContentReaderBase* reader, int32_t persistClass)
{
    ResetVariablesOfClass(persistClass);
    const bool ok = m_ExternTable.Read(reader, persistClass);
    RecreateExternVariables();
    return ok && Ok(reader);
}

void GxMoa::CreateExternVariables()
{
    m_ExternTable.Clear();
    RecreateExternVariables();
}

void GxMoa::RecreateExternVariables()
{
    for (const GxMoaVariableDefinition& def : m_VariableDefine)
        if (GxMoaScope::IsExtern(def.m_Scope))
            m_ExternTable.AddFromDefinition(def);
}

void GxMoa::ResetVariablesOfClass(int32_t persistClass)
{
    m_ExternTable.ResetClass(
        persistClass, [](int32_t scope) { return GxMoaScope::IsExtern(scope); },
        [this](const std::wstring& name) { return FindVariableDefinition(name); });
}

bool GxMoa::ResetGameVariables()
{
    ResetVariablesOfClass(PERSIST_INGAME);
    ResetVariablesOfClass(PERSIST_NOSAVE);
    return true;
}

void GxMoa::Dump(std::wstring& out, int indent) const
{
    out += L"--MoaInstance:\n";
    m_ExternTable.Dump(out, indent);
}

// ---------------------------------------------------------------------------------------------------
// Reports
// ---------------------------------------------------------------------------------------------------

void GxMoa::Log(const wchar_t*, ...) {}

void GxMoa::Warning(const std::wstring&, int32_t, const wchar_t*, ...)
{
    ++m_WarningCount;
}

void GxMoa::Error(const std::wstring&, int32_t, const wchar_t*, ...)
{
    ++m_ErrorCount;
}
