#include "strategy/ZorUserData.h"

#include "core/GxLog.h"

ZorUserData::ZorUserData(GxCore* core) : m_Core(core)
{
    ResetInstanceParams();
    m_PathGrid.Reset();
}

void ZorUserData::ResetInstanceParams()
{
    m_Inst_Difficulty = 1.0f;
    m_Inst_RushMode = 0;
    m_Inst_RushModeParam = 0;
    m_EnemyPartyKind = 0;
    m_Notoriety = 0;
    m_ElectLevel = 1;
    m_RashTimes = 2;
    m_FirstUniquePartyID = 0;
    m_MiddleUniquePartyID = 0;
    m_GameProgress = 0;
    m_AppearTimeMultiFactor = 1.0f;
}

namespace
{

template <typename T> T* At(std::vector<T>& list, int32_t i)
{
    return (i >= 0 && static_cast<size_t>(i) < list.size()) ? &list[static_cast<size_t>(i)] : nullptr;
}

} // namespace

ZorStructState* ZorUserData::GetStructState(int32_t i)
{
    return At(m_StructStates, i);
}

const ZorStructState* ZorUserData::GetStructState(int32_t i) const
{
    return const_cast<ZorUserData*>(this)->GetStructState(i);
}

ZorUnitState* ZorUserData::GetUnitState(int32_t i)
{
    return At(m_UnitStates, i);
}

const ZorUnitState* ZorUserData::GetUnitState(int32_t i) const
{
    return const_cast<ZorUserData*>(this)->GetUnitState(i);
}

ZorTownState* ZorUserData::GetTownState(int32_t i)
{
    return At(m_TownStates, i);
}

ZorEnemyPartyState* ZorUserData::GetEnemyPartyState(int32_t i)
{
    return At(m_EnemyPartyStates, i);
}

ZorCommandState* ZorUserData::GetCommandState(int32_t i)
{
    return At(m_CommandStates, i);
}

ZorRoomState* ZorUserData::GetFieldUnitListPlayer(int32_t i)
{
    if (i > 1)
        GxLog::Error(L"index error:GetFieldUnitListPlayer\n");
    if (i < 0 || i >= kFieldFormations)
        return nullptr;
    return &m_FieldFormations[i];
}

const ZorMapData* ZorUserData::GetMapData() const
{
    return ZorMapData::GetSlot(m_UsingMapIndex);
}

void ZorUserData::LinkMapData()
{
    const ZorMapData* map = GetMapData();
    for (int32_t rz = 0; rz < kRooms; ++rz)
        for (int32_t rx = 0; rx < kRooms; ++rx)
            m_Rooms[rx + rz * kRooms].m_MapRoom = map ? map->GetMapRoughRoom(rx, rz) : nullptr;
    for (int32_t dz = 0; dz < kWidth; ++dz)
        for (int32_t dx = 0; dx < kWidth; ++dx)
            m_Blocks[dx + dz * kWidth].m_MapBlock = map ? map->GetMapDetailBlock(dx, dz) : nullptr;
}
