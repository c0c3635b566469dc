#include "script/GxMoaVariableSet.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool GxMoaVariableSet::Write(GxContentWriterBase* writer) const
{
    m_Value.Write(writer);
    writer->Write("m_Scope", static_cast<int32_t>(m_Scope));
    writer->WriteString("m_Name", m_Name);
    return writer->GetErrorCount() == 0;
}

bool GxMoaVariableSet::Read(GxContentReaderBase* reader)
{
    if (!m_Value.Read(reader))
        return false;
    m_Scope = reader->GetS32("m_Scope");
    m_Name = reader->ReadStringW("m_Name");
    return reader->GetErrorCount() == 0;
}
