#include "script/GxMoaScriptPos.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool GxMoaScriptPos::Write(GxContentWriterBase* writer) const
{
    GxMoaRunPos::Write(writer);
    writer->WriteString("m_ScriptName", m_ScriptName);
    return writer->GetErrorCount() == 0;
}

bool GxMoaScriptPos::Read(GxContentReaderBase* reader)
{
    GxMoaRunPos::Read(reader);
    m_ScriptName = reader->ReadStringW("m_ScriptName");
    // The entity is resolved by its owner (the worker) after reading.
    m_pEntity = nullptr;
    return reader->GetErrorCount() == 0;
}
