#include "script/GxMoaBuiltinDefinition.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool GxMoaBuiltinDefinition::Write(GxContentWriterBase* writer) const
{
    writer->WriteString("m_Name", m_Name);
    writer->Write("m_BuiltinIndex", static_cast<int32_t>(m_BuiltinIndex));
    writer->Write("m_RelatedIndex", static_cast<int32_t>(m_RelatedIndex));
    writer->Write("m_BuiltinType", static_cast<int32_t>(m_BuiltinType));
    return writer->GetErrorCount() == 0;
}

bool GxMoaBuiltinDefinition::Read(GxContentReaderBase* reader)
{
    m_Name = reader->ReadStringW("m_Name");
    m_BuiltinIndex = reader->GetS32("m_BuiltinIndex");
    m_RelatedIndex = reader->GetS32("m_RelatedIndex");
    m_BuiltinType = reader->GetS32("m_BuiltinType");
    return reader->GetErrorCount() == 0;
}
