#include "strategy/ZorTownState.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

void ZorTownState::RecoverEnemyHP()
{
    for (float& rate : m_EnemyHPRate)
        if (rate > 0.0f)
        {
            rate += 0.3f;
            if (rate > 1.0f)
                rate = 1.0f;
        }
}

bool ZorTownState::Save(GxContentWriterBase& writer) const
{
    bool ok = writer.Write("m_ID", m_ID) && writer.Write("m_Enabled", m_Enabled) &&
              writer.Write("m_Occupied", m_Occupied) && writer.WriteString("m_EnemyParty", m_EnemyParty) &&
              writer.Write("m_EnemyLevel", m_EnemyLevel);
    for (float rate : m_EnemyHPRate)
        ok = ok && writer.Write("m_EnemyHPRate", rate);
    return ok;
}

void ZorTownState::Load(GxContentReaderBase& reader)
{
    reader.Read("m_ID", m_ID);
    reader.Read("m_Enabled", m_Enabled);
    reader.Read("m_Occupied", m_Occupied);
    reader.ReadString("m_EnemyParty", m_EnemyParty);
    reader.Read("m_EnemyLevel", m_EnemyLevel);
    for (float& rate : m_EnemyHPRate)
        reader.Read("m_EnemyHPRate", rate);
}
