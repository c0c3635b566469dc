#include "strategy/ZorUserData.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"

// The body is a flat run of named values; the record lists carry no counts (their lengths are fixed),
// the enemy queue carries its length as an unsigned count.

bool ZorUserData::Save(GxContentWriterBase& writer) const
{
    bool ok = writer.Write("m_NextUnitTaskID", m_NextUnitTaskID);
    for (const ZorStructState& s : m_StructStates)
        ok = ok && s.Save(writer);
    for (const ZorUnitState& u : m_UnitStates)
        ok = ok && u.Save(writer);
    for (const ZorTownState& t : m_TownStates)
        ok = ok && t.Save(writer);
    for (const ZorEnemyPartyState& e : m_EnemyPartyStates)
        ok = ok && writer.Write("m_ID", e.m_ID) && writer.Write("m_AutoAppear", e.m_AutoAppear);
    for (const ZorCommandState& c : m_CommandStates)
        ok = ok && c.Save(writer);
    for (const ZorBlockState& b : m_Blocks)
        ok = ok && writer.Write("m_EnablePass", b.m_EnablePass != 0) && writer.Write("m_Extended", b.m_Extended != 0) &&
             writer.Write("m_ObstacleFlag", b.m_ObstacleFlag != 0) &&
             writer.Write("m_DetailDistFromThrone", b.m_DetailDistFromThrone);
    for (const ZorRoomState& r : m_Rooms)
        ok = ok && r.Save(writer);

    const std::pair<const char*, int32_t> counters[] = {
        {"m_GamePhase", m_GamePhase},
        {"m_GameState", m_GameState},
        {"m_GameUnitTab_ZOR", m_GameUnitTab_ZOR},
        {"m_UsingMapIndex", m_UsingMapIndex},
        {"m_ThroneRoomPos.x", m_ThroneRoomPosX},
        {"m_ThroneRoomPos.y", m_ThroneRoomPosY},
        {"m_FloorExtendLevel", m_FloorExtendLevel},
        {"m_Resource_Bone", m_Resource_Bone},
        {"m_Resource_Magic", m_Resource_Magic},
        {"m_Resource_Gold", m_Resource_Gold},
        {"m_Resource_LeadershipBase", m_Resource_LeadershipBase},
        {"m_Resource_LeadershipUsing", m_Resource_LeadershipUsing},
        {"m_Resource_AstarosHP", m_Resource_AstarosHP},
        {"m_Resource_AstarosHPMax", m_Resource_AstarosHPMax},
        {"m_RemainEnemyTotal", m_RemainEnemyTotal},
        {"m_RemainEnemyLeft", m_RemainEnemyLeft},
        {"m_TimerCount", m_TimerCount},
        {"m_AstarosWeekLimit", m_AstarosWeekLimit},
    };
    for (const auto& c : counters)
        ok = ok && writer.Write(c.first, c.second);
    SaveInstanceParams(writer, ok);
    for (int32_t r : m_ReinforceMonster)
        ok = ok && writer.Write("m_ReinforceMonster", r);
    ok = ok && writer.Write("m_NextEnemyCount", static_cast<uint32_t>(m_NextEnemies.size()));
    for (const ZorNextEnemy& e : m_NextEnemies)
        ok = ok && e.Save(writer);
    ok = ok && m_PathGrid.Save(writer);
    ok = ok && writer.WriteString("m_DefBGM", m_DefBGM) && writer.WriteString("m_InvBGM", m_InvBGM);
    ok = ok && writer.Write("m_Capture_UnitID", m_Capture_UnitID) &&
         writer.Write("m_Capture_Result", m_Capture_Result) && writer.Write("m_NextInvTownID", m_NextInvTownID);
    for (const ZorRoomState& f : m_FieldFormations)
        ok = ok && f.Save(writer);
    return ok && writer.GetErrorCount() == 0;
}

void ZorUserData::SaveInstanceParams(GxContentWriterBase& writer, bool& ok) const
{
    ok = ok && writer.Write("m_Inst_Difficulty", m_Inst_Difficulty) &&
         writer.Write("m_Inst_RushMode", m_Inst_RushMode) &&
         writer.Write("m_Inst_RushModeParam", m_Inst_RushModeParam) &&
         writer.Write("m_EnemyPartyKind", m_EnemyPartyKind) && writer.Write("m_Notoriety", m_Notoriety) &&
         writer.Write("m_ElectLevel", m_ElectLevel) && writer.Write("m_RashTimes", m_RashTimes) &&
         writer.Write("m_FirstUniquePartyID", m_FirstUniquePartyID) &&
         writer.Write("m_MiddleUniquePartyID", m_MiddleUniquePartyID) &&
         writer.Write("m_GameProgress", m_GameProgress) &&
         writer.Write("m_AppearTimeMultiFactor", m_AppearTimeMultiFactor);
}

void ZorUserData::LoadInstanceParams(GxContentReaderBase& reader)
{
    reader.Read("m_Inst_Difficulty", m_Inst_Difficulty);
    reader.Read("m_Inst_RushMode", m_Inst_RushMode);
    reader.Read("m_Inst_RushModeParam", m_Inst_RushModeParam);
    reader.Read("m_EnemyPartyKind", m_EnemyPartyKind);
    reader.Read("m_Notoriety", m_Notoriety);
    reader.Read("m_ElectLevel", m_ElectLevel);
    reader.Read("m_RashTimes", m_RashTimes);
    reader.Read("m_FirstUniquePartyID", m_FirstUniquePartyID);
    reader.Read("m_MiddleUniquePartyID", m_MiddleUniquePartyID);
    reader.Read("m_GameProgress", m_GameProgress);
    reader.Read("m_AppearTimeMultiFactor", m_AppearTimeMultiFactor);
}

bool ZorUserData::Load(GxContentReaderBase& reader, uint32_t maxQueue, bool& refused)
{
    refused = false;
    reader.Read("m_NextUnitTaskID", m_NextUnitTaskID);
    for (ZorStructState& s : m_StructStates)
        s.Load(reader);
    for (ZorUnitState& u : m_UnitStates)
        u.Load(reader);
    for (ZorTownState& t : m_TownStates)
        t.Load(reader);
    for (ZorEnemyPartyState& e : m_EnemyPartyStates)
    {
        reader.Read("m_ID", e.m_ID);
        reader.Read("m_AutoAppear", e.m_AutoAppear);
    }
    for (ZorCommandState& c : m_CommandStates)
        c.Load(reader);
    for (ZorBlockState& b : m_Blocks)
    {
        b.m_EnablePass = reader.GetBool("m_EnablePass") ? 1 : 0;
        b.m_Extended = reader.GetBool("m_Extended") ? 1 : 0;
        b.m_ObstacleFlag = reader.GetBool("m_ObstacleFlag") ? 1 : 0;
        reader.Read("m_DetailDistFromThrone", b.m_DetailDistFromThrone);
    }
    for (ZorRoomState& r : m_Rooms)
        r.Load(reader);

    std::pair<const char*, int32_t*> counters[] = {
        {"m_GamePhase", &m_GamePhase},
        {"m_GameState", &m_GameState},
        {"m_GameUnitTab_ZOR", &m_GameUnitTab_ZOR},
        {"m_UsingMapIndex", &m_UsingMapIndex},
        {"m_ThroneRoomPos.x", &m_ThroneRoomPosX},
        {"m_ThroneRoomPos.y", &m_ThroneRoomPosY},
        {"m_FloorExtendLevel", &m_FloorExtendLevel},
        {"m_Resource_Bone", &m_Resource_Bone},
        {"m_Resource_Magic", &m_Resource_Magic},
        {"m_Resource_Gold", &m_Resource_Gold},
        {"m_Resource_LeadershipBase", &m_Resource_LeadershipBase},
        {"m_Resource_LeadershipUsing", &m_Resource_LeadershipUsing},
        {"m_Resource_AstarosHP", &m_Resource_AstarosHP},
        {"m_Resource_AstarosHPMax", &m_Resource_AstarosHPMax},
        {"m_RemainEnemyTotal", &m_RemainEnemyTotal},
        {"m_RemainEnemyLeft", &m_RemainEnemyLeft},
        {"m_TimerCount", &m_TimerCount},
        {"m_AstarosWeekLimit", &m_AstarosWeekLimit},
    };
    for (auto& c : counters)
        reader.Read(c.first, *c.second);
    LoadInstanceParams(reader);
    for (int32_t& r : m_ReinforceMonster)
        reader.Read("m_ReinforceMonster", r);

    const uint32_t count = reader.GetU32("m_NextEnemyCount");
    m_NextEnemies.clear();
    if (count > maxQueue)
    {
        GxLog::Error(L"ZorUserData::Load/敵キューの数が不正です(%u)\n", count);
        refused = true;
        return false;
    }
    m_NextEnemies.resize(count);
    for (ZorNextEnemy& e : m_NextEnemies)
        e.Load(reader);
    m_PathGrid.Load(reader);
    reader.ReadString("m_DefBGM", m_DefBGM);
    reader.ReadString("m_InvBGM", m_InvBGM);
    reader.Read("m_Capture_UnitID", m_Capture_UnitID);
    reader.Read("m_Capture_Result", m_Capture_Result);
    reader.Read("m_NextInvTownID", m_NextInvTownID);
    for (ZorRoomState& f : m_FieldFormations)
        f.Load(reader);
    LinkMapData();
    return reader.GetErrorCount() == 0;
}

bool ZorUserData::CheckIndexes() const
{
    auto refuse = [](const wchar_t* what, int64_t value)
    {
        GxLog::Error(L"ZorUserData::Load/範囲外の値です(%s=%I64d)\n", what, value);
        return false;
    };
    if (m_UsingMapIndex < 0 || m_UsingMapIndex >= ZorMapData::kSlots)
        return refuse(L"m_UsingMapIndex", m_UsingMapIndex);
    if (m_ThroneRoomPosX < 0 || m_ThroneRoomPosX >= kRooms || m_ThroneRoomPosY < 0 || m_ThroneRoomPosY >= kRooms)
        return refuse(L"m_ThroneRoomPos", m_ThroneRoomPosX * 100 + m_ThroneRoomPosY);
    if (m_FloorExtendLevel < 0 || m_FloorExtendLevel > 3)
        return refuse(L"m_FloorExtendLevel", m_FloorExtendLevel);
    if (m_NextUnitTaskID < 1)
        return refuse(L"m_NextUnitTaskID", m_NextUnitTaskID);
    for (const ZorRoomState& r : m_Rooms)
        if (r.m_StructID < 0 || r.m_StructID >= kStructCount)
            return refuse(L"m_StructID", r.m_StructID);
    for (size_t i = 0; i < m_StructStates.size(); ++i)
        if (m_StructStates[i].m_ID != 0 && m_StructStates[i].m_ID != static_cast<int32_t>(i))
            return refuse(L"ZorStructState::m_ID", m_StructStates[i].m_ID);
    for (size_t i = 0; i < m_UnitStates.size(); ++i)
        if (m_UnitStates[i].m_ID != 0 && m_UnitStates[i].m_ID != static_cast<int32_t>(i))
            return refuse(L"ZorUnitState::m_ID", m_UnitStates[i].m_ID);
    for (size_t i = 0; i < m_UnitStates.size(); ++i)
        if (!m_UnitStates[i].CheckLevels(L"ZorUserData::Load", i))
            return false;
    for (int32_t level : m_ReinforceMonster)
        if (level < 0 || level > kMaxReinforceLevel)
            return refuse(L"m_ReinforceMonster", level);
    for (const ZorNextEnemy& e : m_NextEnemies)
    {
        if (e.m_PartyID < 0 || e.m_PartyID >= kEnemyPartyCount)
            return refuse(L"m_PartyID", e.m_PartyID);
        if (e.m_FirstUnitID < 0 || e.m_FirstUnitID >= kUnitCount)
            return refuse(L"m_FirstUnitID", e.m_FirstUnitID);
        if (e.m_EntranceIndex < 0 || e.m_EntranceIndex >= ZorMapData::kEntrances)
            return refuse(L"m_EntranceIndex", e.m_EntranceIndex);
    }
    if (m_Capture_UnitID < 0 || m_Capture_UnitID >= kUnitCount)
        return refuse(L"m_Capture_UnitID", m_Capture_UnitID);
    if (m_NextInvTownID < 0 || m_NextInvTownID >= kTownCount)
        return refuse(L"m_NextInvTownID", m_NextInvTownID);
    return true;
}
