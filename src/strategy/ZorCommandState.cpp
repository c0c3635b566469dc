#include "strategy/ZorCommandState.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool ZorCommandState::Save(GxContentWriterBase& writer) const
{
    return writer.Write("m_ID", m_ID) && writer.Write("m_Enabled", m_Enabled) &&
           writer.Write("m_ResourceMultiFactor", m_ResourceMultiFactor) && writer.WriteString("m_Label", m_Label);
}

void ZorCommandState::Load(GxContentReaderBase& reader)
{
    reader.Read("m_ID", m_ID);
    reader.Read("m_Enabled", m_Enabled);
    reader.Read("m_ResourceMultiFactor", m_ResourceMultiFactor);
    reader.ReadString("m_Label", m_Label);
}
