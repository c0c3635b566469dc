#include "strategy/ZorUserData.h"

#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"

#include <algorithm>

void ZorUserData::InitNewGame()
{
    m_NextUnitTaskID = 1000;

    m_StructStates.assign(kStructCount, ZorStructState());
    for (int32_t i = 0; i < kStructCount; ++i)
    {
        const DBZorStructData* row = g_DBZorStruct.GetRow(static_cast<uint32_t>(i));
        m_StructStates[i].m_ID = row->m_ID;
        m_StructStates[i].m_Enabled = row->m_Enabled;
        m_StructStates[i].m_Limit = row->m_Limit;
    }
    m_UnitStates.assign(kUnitCount, ZorUnitState());
    for (int32_t i = 0; i < kUnitCount; ++i)
    {
        const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(i));
        m_UnitStates[i].m_ID = row->m_ID;
        m_UnitStates[i].m_Enabled = row->m_Enabled;
        m_UnitStates[i].m_Level = 1;
    }
    m_TownStates.assign(kTownCount, ZorTownState());
    for (int32_t i = 0; i < kTownCount; ++i)
    {
        const DBZorTownData* row = g_DBZorTown.GetRow(static_cast<uint32_t>(i));
        ZorTownState& t = m_TownStates[i];
        t.m_ID = row->m_ID;
        t.m_Enabled = row->m_Enabled;
        t.m_Occupied = row->m_Occupied;
        t.m_EnemyParty = row->m_DefaultParty;
        t.m_EnemyLevel = row->m_EnemyLevel;
    }
    m_EnemyPartyStates.assign(kEnemyPartyCount, ZorEnemyPartyState());
    for (int32_t i = 0; i < kEnemyPartyCount; ++i)
    {
        const DBZorEnemyData* row = g_DBZorEnemy.GetRow(static_cast<uint32_t>(i));
        m_EnemyPartyStates[i] = ZorEnemyPartyState{row->m_ID, row->m_AutoAppear};
    }
    m_CommandStates.assign(kCommandCount, ZorCommandState());
    for (int32_t i = 0; i < kCommandCount; ++i)
    {
        const DBZorCommandData* row = g_DBZorCommand.GetRow(static_cast<uint32_t>(i));
        m_CommandStates[i].m_ID = row->m_ID;
        m_CommandStates[i].m_Enabled = row->m_Enabled;
        m_CommandStates[i].m_Label = row->m_Label;
    }
    std::fill(std::begin(m_ReinforceMonster), std::end(m_ReinforceMonster), 0);

    m_UsingMapIndex = 1;
    m_FloorExtendLevel = 0;
    BuildRooms(1, 0);

    m_Resource_Bone = 600;
    m_Resource_Magic = 300;
    m_Resource_Gold = 1000;
    m_Resource_LeadershipBase = 100;
    m_Resource_LeadershipUsing = 0;
    m_Resource_AstarosHP = 1000;
    m_Resource_AstarosHPMax = 1000;
    m_RemainEnemyTotal = 25;
    m_RemainEnemyLeft = 25;
    m_TimerCount = 0;
    m_AstarosWeekLimit = 40;
    m_GamePhase = 0;
    m_GameState = 0;
    m_GameUnitTab_ZOR = 0;
    m_DefBGM = L"m05";
    m_InvBGM = L"m08";
    m_Capture_UnitID = 0;
    m_Capture_Result = 0;
    m_NextInvTownID = 0;
    m_NextEnemies.clear();
    ResetInstanceParams();
}

void ZorUserData::BuildRooms(int32_t mapIndex, int32_t level)
{
    m_UsingMapIndex = mapIndex;
    for (ZorRoomState& room : m_Rooms)
        room.Reset();
    const ZorMapData* map = GetMapData();
    if (map)
        for (int32_t rz = 0; rz < kRooms; ++rz)
            for (int32_t rx = 0; rx < kRooms; ++rx)
            {
                const ZorMapData::Room* def = map->GetMapRoughRoom(rx, rz);
                if (!def->m_Defined || !def->m_Center)
                    continue;
                ZorRoomState& room = m_Rooms[rx + rz * kRooms];
                room.m_ExistFlag = 1;
                const bool open = def->m_Center->m_LockFlag == 0 && def->m_Center->m_FloorLevel <= level;
                room.m_StructID = open ? kStructPlain : 0;
                room.m_Extended = open ? 1 : 0;
            }
    LinkMapData();
    if (map)
    {
        for (int32_t i = 0; i < ZorMapData::kEntrances; ++i)
        {
            if (map->GetEntrance(i).m_RoomNumber == 0)
                continue;
            ZorMapData::RoomPos pos = map->GetEntrancePos(i);
            m_Rooms[pos.m_RX + pos.m_RZ * kRooms].m_StructID = kStructEntrance;
        }
        ZorMapData::RoomPos throne = map->GetThronePos(level);
        SetThroneRoom(throne.m_RX, throne.m_RZ);
    }
    RecountStructs();
    RebuildBlockCells();
}

void ZorUserData::SetThroneRoom(int32_t rx, int32_t rz)
{
    ZorRoomState* room = GetRoughRoom(rx, rz);
    if (!room)
        return;
    room->m_StructID = kStructThrone;
    room->m_CreateTimeLeft = 0;
    room->m_CreateTimeTotal = 0;
    m_ThroneRoomPosX = rx;
    m_ThroneRoomPosY = rz;
}

void ZorUserData::ResetForDefence()
{
    m_Resource_AstarosHP = m_Resource_AstarosHPMax;
    m_RemainEnemyLeft = m_RemainEnemyTotal;
    m_TimerCount = 0;
    for (ZorRoomState& room : m_Rooms)
    {
        std::fill(std::begin(room.m_RoomEffectLevels), std::end(room.m_RoomEffectLevels), 0);
        room.m_SpecialAttackRestrictTime = 0;
    }
    m_Capture_UnitID = 0;
    m_Capture_Result = 0;
    m_GamePhase = 5;
    m_GameState = 0;
    m_GameUnitTab_ZOR = 0;
}

void ZorUserData::OpenRoomsOfLevel(int32_t level)
{
    const ZorMapData* map = GetMapData();
    if (!map)
        return;
    for (int32_t rz = 0; rz < kRooms; ++rz)
        for (int32_t rx = 0; rx < kRooms; ++rx)
        {
            const ZorMapData::Room* def = map->GetMapRoughRoom(rx, rz);
            if (!def->m_Defined || !def->m_Center)
                continue;
            ZorRoomState& room = m_Rooms[rx + rz * kRooms];
            room.m_ExistFlag = 1;
            if (def->m_Center->m_FloorLevel == level && def->m_Center->m_LockFlag == 0)
            {
                room.m_Extended = 1;
                if (room.m_StructID == 0)
                    room.m_StructID = kStructPlain;
            }
        }
}

void ZorUserData::UpgradeFloorExtendLevel()
{
    const ZorMapData* map = GetMapData();
    const int32_t level = m_FloorExtendLevel;
    if (map && level >= 0 && level <= 2)
    {
        ZorMapData::RoomPos old = map->GetThronePos(level);
        m_Rooms[old.m_RX + old.m_RZ * kRooms].m_StructID = kStructPlain;
        m_FloorExtendLevel = level + 1;
        OpenRoomsOfLevel(level + 1);
        ZorMapData::RoomPos throne = map->GetThronePos(level + 1);
        SetThroneRoom(throne.m_RX, throne.m_RZ);
        // Workshop-type facilities 2..6 may be built more often on a larger dungeon.
        static const int32_t s_MinLimit[4] = {0, 2, 3, 3};
        for (int32_t id = 2; id <= 6; ++id)
            if (ZorStructState* s = GetStructState(id))
                s->m_Limit = std::max(s->m_Limit, s_MinLimit[level + 1]);
    }
    RecountStructs();
    RebuildBlockCells();
}
