#include "script/GxMoaVariableDefinition.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"

bool GxMoaVariableDefinition::Write(GxContentWriterBase* writer) const
{
    writer->WriteString("m_Name", m_Name);
    writer->Write("m_ArraySize", static_cast<int32_t>(m_ArraySize));
    writer->Write("m_Scope", static_cast<int32_t>(m_Scope));
    m_InitValue.Write(writer);
    writer->WriteString("m_ScriptName", m_ScriptName);
    writer->Write("m_Line", static_cast<int32_t>(m_Line));
    return writer->GetErrorCount() == 0;
}

bool GxMoaVariableDefinition::Read(GxContentReaderBase* reader)
{
    m_Name = reader->ReadStringW("m_Name");
    m_ArraySize = reader->GetS32("m_ArraySize");
    m_Scope = reader->GetS32("m_Scope");
    if (reader->GetErrorCount() != 0 || !m_InitValue.Read(reader))
        return false;
    m_ScriptName = reader->ReadStringW("m_ScriptName");
    m_Line = reader->GetS32("m_Line");
    if (reader->GetErrorCount() != 0)
        return false;
    // The variable is created with this many elements: refuse a size no script could use.
    if (m_ArraySize > GxMoaVariable::kMaxArraySize)
    {
        GxLog::Error(L"GxMoaVariableDefinition::Read/配列の要素数が大きすぎます($%s[%d])\n", m_Name.c_str(),
                     m_ArraySize);
        return false;
    }
    return true;
}
