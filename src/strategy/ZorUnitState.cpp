#include "strategy/ZorUnitState.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool ZorUnitState::Save(GxContentWriterBase& writer) const
{
    return writer.Write("m_ID", m_ID) && writer.Write("m_Enabled", m_Enabled) &&
           writer.Write("m_CaptureEnabled", m_CaptureEnabled) && writer.Write("m_FriendFlag", m_FriendFlag) &&
           writer.Write("m_KnockDownCount", m_KnockDownCount) && writer.Write("m_Level", m_Level) &&
           writer.Write("m_Exp", m_Exp) && writer.Write("m_UnitCreateCount", m_UnitCreateCount);
}

void ZorUnitState::Load(GxContentReaderBase& reader)
{
    reader.Read("m_ID", m_ID);
    reader.Read("m_Enabled", m_Enabled);
    reader.Read("m_CaptureEnabled", m_CaptureEnabled);
    reader.Read("m_FriendFlag", m_FriendFlag);
    reader.Read("m_KnockDownCount", m_KnockDownCount);
    reader.Read("m_Level", m_Level);
    reader.Read("m_Exp", m_Exp);
    reader.Read("m_UnitCreateCount", m_UnitCreateCount);
}
