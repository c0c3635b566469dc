#include "script/GxMoaLabelDefinition.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool GxMoaLabelDefinition::Write(GxContentWriterBase* writer) const
{
    writer->WriteString("m_Name", m_Name);
    m_Pos.Write(writer);
    writer->Write("m_Scope", static_cast<int32_t>(m_Scope));
    return writer->GetErrorCount() == 0;
}

bool GxMoaLabelDefinition::Read(GxContentReaderBase* reader)
{
    m_Name = reader->ReadStringW("m_Name");
    m_Pos.Read(reader);
    m_Scope = reader->GetS32("m_Scope");
    return reader->GetErrorCount() == 0;
}
