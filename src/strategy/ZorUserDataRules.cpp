#include "strategy/ZorUserData.h"

#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/ZorGlobals.h"
#include "core/GxCore.h"
#include "core/GxLog.h"

namespace
{

// Floor level and lock flag of a room, from its map centre cell.
const ZorMapData::Block* CenterOf(const ZorRoomState* room)
{
    return (room && room->m_MapRoom) ? room->m_MapRoom->m_Center : nullptr;
}

} // namespace

int32_t ZorUserData::GetRoomState(int32_t rx, int32_t rz) const
{
    const ZorRoomState* room = GetRoughRoom(rx, rz);
    const ZorMapData::Block* center = CenterOf(room);
    if (!room || !room->m_ExistFlag || !center)
        return 0;
    if (room->m_Extended)
        return 8;
    if (center->m_FloorLevel > m_FloorExtendLevel)
        return 1;
    if (center->m_LockFlag == 1)
        return 3;
    return 0;
}

int32_t ZorUserData::GetBlockState(int32_t dx, int32_t dz) const
{
    const ZorBlockState* b = GetDetailBlock(dx, dz);
    if (!b)
        return 0;
    if (const ZorRoomState* room = GetRoomOfBlock(dx, dz))
    {
        const ZorMapData::Block* center = CenterOf(room);
        if (!room->m_ExistFlag || !center)
            return 0;
        if (room->m_Extended)
            return b->m_ObstacleFlag ? 5 : 8;
        if (center->m_FloorLevel > m_FloorExtendLevel)
            return 1;
        return center->m_LockFlag == 1 ? 3 : 0;
    }
    if (b->m_Extended)
        return 7;
    if (!b->m_MapBlock)
        return 0;
    if (b->m_MapBlock->m_FloorLevel > m_FloorExtendLevel)
        return 2;
    return b->m_MapBlock->m_LockFlag == 1 ? 4 : 0;
}

bool ZorUserData::IsRoomConnectable(int32_t rx, int32_t rz) const
{
    const ZorRoomState* room = GetRoughRoom(rx, rz);
    const ZorMapData::Block* center = CenterOf(room);
    if (!room || !room->m_ExistFlag || !center)
        return false;
    const int32_t cx = room->m_MapRoom->m_CenterDX;
    const int32_t cz = room->m_MapRoom->m_CenterDZ;
    const int32_t sides[4][4] = {
        {cx, cz - 2, rx, rz - 1}, {cx, cz + 2, rx, rz + 1}, {cx - 2, cz, rx - 1, rz}, {cx + 2, cz, rx + 1, rz}};
    for (const auto& s : sides)
    {
        const int32_t gap = GetBlockState(s[0], s[1]);
        if ((gap == 4 || gap == 7 || gap == 8) && GetRoomState(s[2], s[3]) == 8)
            return true;
    }
    return false;
}

int32_t ZorUserData::GetStructCostBone(int32_t structID) const
{
    const ZorStructState* s = GetStructState(structID);
    const int32_t built = s ? s->m_RoomConstructCount : 0;
    return (built + 1) * g_DBZorStruct.GetRow(static_cast<uint32_t>(structID))->m_CostBone;
}

int32_t ZorUserData::GetStructCostMagic(int32_t structID) const
{
    const ZorStructState* s = GetStructState(structID);
    const int32_t built = s ? s->m_RoomConstructCount : 0;
    return (built + 1) * g_DBZorStruct.GetRow(static_cast<uint32_t>(structID))->m_CostMagic;
}

int32_t ZorUserData::GetStructCostGold(int32_t structID, int32_t digFlag, int32_t floor) const
{
    const ZorStructState* s = GetStructState(structID);
    const int32_t built = s ? s->m_RoomConstructCount : 0;
    int32_t gold = (built + 1) * g_DBZorStruct.GetRow(static_cast<uint32_t>(structID))->m_CostGold;
    if (digFlag)
        gold += (floor + 1) * 400;
    return gold;
}

int32_t ZorUserData::CheckStructBuild(int32_t structID, int32_t rx, int32_t rz, int32_t& digFlag) const
{
    const ZorStructState* s = GetStructState(structID);
    if (!s || !s->m_Enabled)
        return 7;
    const ZorRoomState* room = GetRoughRoom(rx, rz);
    const ZorMapData::Block* center = CenterOf(room);
    if (!room || !center)
        return 0;
    if (room->m_Extended)
        digFlag = 0;
    else if (GetRoomState(rx, rz) == 3 && IsRoomConnectable(rx, rz))
        digFlag = 1;
    else
        return 0;
    if (room->m_StructID == structID)
        return 8;
    if (room->m_StructID == kStructEntrance || room->m_StructID == kStructThrone)
        return 9;
    if (s->m_Limit >= 1 && s->m_RoomConstructCount >= s->m_Limit)
        return 6;
    const DBZorStructData* row = g_DBZorStruct.GetRow(static_cast<uint32_t>(structID));
    if (row->m_RequireInveigleUnitID != 0)
    {
        const ZorUnitState* friendUnit = GetUnitState(row->m_RequireInveigleUnitID);
        if (!friendUnit || friendUnit->m_FriendFlag != 2)
            return 5;
    }
    if (row->m_RequireStructID != 0)
    {
        const ZorStructState* required = GetStructState(row->m_RequireStructID);
        if (!required || required->m_RoomActiveCount == 0)
            return 4;
    }
    if (GetStructCostBone(structID) > m_Resource_Bone || GetStructCostMagic(structID) > m_Resource_Magic ||
        GetStructCostGold(structID, digFlag, center->m_FloorLevel) > m_Resource_Gold)
        return 3;
    return digFlag ? 12 : 11;
}

int32_t ZorUserData::CheckUnitSummon(int32_t unitID) const
{
    const ZorUnitState* u = GetUnitState(unitID);
    if (!u || !u->m_Enabled)
        return 5;
    const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(unitID));
    if (row->m_RequireInveigleUnitID != 0)
    {
        const ZorUnitState* friendUnit = GetUnitState(row->m_RequireInveigleUnitID);
        if (!friendUnit || friendUnit->m_FriendFlag != 2)
            return 3;
    }
    if (row->m_RequireStructID != 0)
    {
        const ZorStructState* required = GetStructState(row->m_RequireStructID);
        if (!required || required->m_RoomActiveCount < row->m_RequireStructRank)
            return 4;
    }
    if (row->m_CostLeadership > 0 && row->m_CostLeadership > GetLeadershipMax() - m_Resource_LeadershipUsing)
        return 2;
    if (row->m_CostBone > m_Resource_Bone || row->m_CostMagic > m_Resource_Magic || row->m_CostGold > m_Resource_Gold)
        return 1;
    return 7;
}

int32_t ZorUserData::GetLeadershipMax() const
{
    const ZorStructState* command = GetStructState(kStructCommand);
    return m_FloorExtendLevel * 50 + (command ? command->m_RoomActiveCount : 0) * 20 + m_Resource_LeadershipBase;
}

int32_t ZorUserData::GetPartyCapacity() const
{
    return GetLeadershipMax() / 10 + 10;
}

int32_t ZorUserData::CountReadyEntrances() const
{
    const ZorMapData* map = GetMapData();
    if (!map)
        return 0;
    int32_t n = 0;
    for (int32_t i = 0; i < ZorMapData::kEntrances; ++i)
    {
        if (map->GetEntrance(i).m_RoomNumber == 0)
            continue;
        ZorMapData::RoomPos pos = map->GetEntrancePos(i);
        const ZorRoomState* room = GetRoughRoom(pos.m_RX, pos.m_RZ);
        if (room && room->m_ExistFlag && room->m_Extended && CenterOf(room) && room->m_StructID != 0)
            ++n;
    }
    return n;
}

int32_t ZorUserData::AddNextEnemy(const std::wstring& partyName, int32_t entrance, int32_t frames, int32_t levelHigh,
                                  int32_t levelLow)
{
    for (int32_t id = 1; id < kEnemyPartyCount; ++id)
        if (g_DBZorEnemy.GetRow(static_cast<uint32_t>(id))->m_Name == partyName)
            return PushNextEnemy(id, entrance, frames, levelHigh, levelLow);
    if (m_Core && m_Core->m_SystemConfig && m_Core->m_SystemConfig->m_DebugModeFlag)
        GxLog::Error(L"ZorUserData::AddNextEnemy/敵パーティ名が不正です(%s)\n", partyName.c_str());
    return 0;
}

int32_t ZorUserData::PushNextEnemy(int32_t partyID, int32_t entrance, int32_t frames, int32_t levelHigh,
                                   int32_t levelLow)
{
    if (partyID <= 0 || partyID >= kEnemyPartyCount)
        return 0;
    const DBZorEnemyData* party = g_DBZorEnemy.GetRow(static_cast<uint32_t>(partyID));
    int32_t count = 0;
    for (int32_t i = 0; i < 5; ++i)
        count += party->m_UnitName[i].empty() ? 0 : 1;
    ZorNextEnemy e;
    e.m_PartyID = partyID;
    e.m_PartyNum = count;
    e.m_FirstUnitID = party->m_UnitName[0].empty() ? 0 : ZorGlobals::FindUnit(party->m_UnitName[0]);
    e.m_EntranceIndex = entrance;
    e.m_AppearFramesTotal = frames;
    e.m_AppearFramesLeft = frames;
    e.m_LevelHigh = levelHigh;
    e.m_LevelLow = levelLow;
    const float x = static_cast<float>(m_NextEnemies.size()) * 64.0f + 105.0f;
    e.m_Pos = GxVector2(x, 14.0f);
    e.m_OldPos = GxVector2(x, -64.0f);
    e.m_Time = 0.0f;
    m_NextEnemies.push_back(e);
    return count;
}
