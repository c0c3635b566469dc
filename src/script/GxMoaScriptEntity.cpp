#include "script/GxMoaScriptEntity.h"

#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaWorker.h"

GxMoaVariableSet* GxMoaScriptEntity::FindVariable(const std::wstring& name) const
{
    if (GxMoaVariableSet* set = m_Table.Find(name))
        return set;
    if (m_pWorker)
        if (GxMoaVariableSet* set = m_pWorker->m_GlobalTable.Find(name))
            return set;
    if (m_pMoa)
        return m_pMoa->GetVariableTable()->Find(name);
    return nullptr;
}

void GxMoaScriptEntity::CreateStaticVariables()
{
    m_Table.Clear();
    RecreateStaticVariables();
}

void GxMoaScriptEntity::RecreateStaticVariables()
{
    if (!m_pScript)
        return;
    for (const GxMoaVariableDefinition& def : m_pScript->m_VariableDefine)
        if (GxMoaScope::IsStatic(def.m_Scope))
            m_Table.AddFromDefinition(def);
}

void GxMoaScriptEntity::ResetVariablesOfClass(int32_t persistClass)
{
    if (!m_pScript)
        return;
    m_Table.ResetClass(
        persistClass, [](int32_t) { return true; },
        [this](const std::wstring& name) { return m_pScript->FindVariableDefinition(name); });
}

bool GxMoaScriptEntity::Write(GxContentWriterBase* writer, int32_t persistClass) const
{
    return m_Table.Write(writer, persistClass);
}

bool GxMoaScriptEntity::Read(GxContentReaderBase* reader, int32_t persistClass)
{
    return m_Table.Read(reader, persistClass);
}

bool GxMoaScriptEntity::Reload(GxContentReaderBase* reader, int32_t persistClass)
{
    ResetVariablesOfClass(persistClass);
    return m_Table.Read(reader, persistClass);
}

void GxMoaScriptEntity::Dump(std::wstring& out, int indent) const
{
    out += GxString::Format(L"------Script:%s\n", m_pScript ? m_pScript->m_ScriptName.c_str() : L"");
    m_Table.Dump(out, indent);
}
