#include "strategy/ZorNextEnemy.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool ZorNextEnemy::Save(GxContentWriterBase& writer) const
{
    return writer.Write("m_PartyID", m_PartyID) && writer.Write("m_PartyNum", m_PartyNum) &&
           writer.Write("m_FirstUnitID", m_FirstUnitID) && writer.Write("m_EntranceIndex", m_EntranceIndex) &&
           writer.Write("m_AppearFramesTotal", m_AppearFramesTotal) &&
           writer.Write("m_AppearFramesLeft", m_AppearFramesLeft) && writer.Write("m_LevelHigh", m_LevelHigh) &&
           writer.Write("m_LevelLow", m_LevelLow) && writer.Write("m_Pos", &m_Pos) &&
           writer.Write("m_OldPos", &m_OldPos) && writer.Write("m_Time", m_Time);
}

void ZorNextEnemy::Load(GxContentReaderBase& reader)
{
    reader.Read("m_PartyID", m_PartyID);
    reader.Read("m_PartyNum", m_PartyNum);
    reader.Read("m_FirstUnitID", m_FirstUnitID);
    reader.Read("m_EntranceIndex", m_EntranceIndex);
    reader.Read("m_AppearFramesTotal", m_AppearFramesTotal);
    reader.Read("m_AppearFramesLeft", m_AppearFramesLeft);
    reader.Read("m_LevelHigh", m_LevelHigh);
    reader.Read("m_LevelLow", m_LevelLow);
    reader.Read("m_Pos", m_Pos);
    reader.Read("m_OldPos", m_OldPos);
    reader.Read("m_Time", m_Time);
}
