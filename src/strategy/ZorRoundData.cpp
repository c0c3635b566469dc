#include "strategy/ZorRoundData.h"

#include "appdata/DBZorUnit.h"
#include "strategy/ZorUserData.h"

void ZorRoundData::Reset()
{
    m_Resource_Bone = 0;
    m_Resource_Magic = 0;
    m_Resource_Gold = 0;
    m_ChoiceFlags = 0;
    m_UnitStates.assign(ZorUserData::kUnitCount, ZorUnitState());
    for (int32_t i = 0; i < ZorUserData::kUnitCount; ++i)
    {
        const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(i));
        m_UnitStates[i].m_ID = row->m_ID;
        m_UnitStates[i].m_Enabled = row->m_Enabled;
        m_UnitStates[i].m_Level = 1;
    }
}
