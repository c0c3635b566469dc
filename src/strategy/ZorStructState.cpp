#include "strategy/ZorStructState.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool ZorStructState::Save(GxContentWriterBase& writer) const
{
    return writer.Write("m_ID", m_ID) && writer.Write("m_Enabled", m_Enabled) && writer.Write("m_Limit", m_Limit) &&
           writer.Write("m_RoomConstructCount", m_RoomConstructCount) &&
           writer.Write("m_RoomActiveCount", m_RoomActiveCount);
}

void ZorStructState::Load(GxContentReaderBase& reader)
{
    reader.Read("m_ID", m_ID);
    reader.Read("m_Enabled", m_Enabled);
    reader.Read("m_Limit", m_Limit);
    reader.Read("m_RoomConstructCount", m_RoomConstructCount);
    reader.Read("m_RoomActiveCount", m_RoomActiveCount);
}
