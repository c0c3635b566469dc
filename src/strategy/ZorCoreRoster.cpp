#include "strategy/ZorCore.h"

#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

// The economy and the roster: resources with their pop-ups, building, summoning, placing, recalling,
// dismissing, the falls of both sides, rewards and the capture of unique invaders.

namespace
{

constexpr int32_t kResourceCap = 99999;
constexpr uint32_t kGainColor = 0xFF00FF30;
constexpr uint32_t kLossColor = 0xFFFF3000;

const DBZorUnitData* Row(int32_t unitID)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unitID));
}

} // namespace

int32_t ZorCore::AddResource(int32_t& stock, int32_t amount, bool show, float x)
{
    stock += amount;
    if (stock > kResourceCap)
        stock = kResourceCap;
    if (show && amount >= 1)
    {
        m_Listener->OnScreenEffect(L"EFE_PAUP", x, 629.0f, 14001.0f);
        m_Listener->OnPopupText(GxString::Format(L"+%d", amount), x, 619.0f, kGainColor);
    }
    return stock;
}

int32_t ZorCore::AddBone(int32_t amount, bool show)
{
    return AddResource(m_UserData->m_Resource_Bone, amount, show, 819.0f);
}

int32_t ZorCore::AddMagic(int32_t amount, bool show)
{
    return AddResource(m_UserData->m_Resource_Magic, amount, show, 870.0f);
}

int32_t ZorCore::AddGold(int32_t amount, bool show)
{
    return AddResource(m_UserData->m_Resource_Gold, amount, show, 924.0f);
}

int32_t ZorCore::TakeGold(int32_t amount)
{
    int32_t& gold = m_UserData->m_Resource_Gold;
    gold -= amount;
    if (gold < 0)
        gold = 0;
    if (amount >= 1)
    {
        m_Listener->OnScreenEffect(L"EFE_PADOWN", 924.0f, 629.0f, 14001.0f);
        m_Listener->OnPopupText(GxString::Format(L"-%d", amount), 924.0f, 619.0f, kLossColor);
    }
    return gold;
}

int32_t ZorCore::GetStructCostBone(int32_t structID) const
{
    return m_UserData->GetStructCostBone(structID);
}

int32_t ZorCore::GetStructCostMagic(int32_t structID) const
{
    return m_UserData->GetStructCostMagic(structID);
}

int32_t ZorCore::GetStructCostGold(int32_t structID, int32_t extra, int32_t floor) const
{
    return m_UserData->GetStructCostGold(structID, extra, floor);
}

bool ZorCore::BuildStruct(int32_t structID, int32_t rx, int32_t rz)
{
    ZorUserData& s = *m_UserData;
    int32_t extra = 0;
    if (s.CheckStructBuild(structID, rx, rz, extra) < 11)
        return false;
    ZorRoomState* room = s.GetRoughRoom(rx, rz);
    const int32_t built = s.GetStructState(structID)->m_RoomConstructCount;
    const DBZorStructData* row = g_DBZorStruct.GetRow(static_cast<uint32_t>(structID));
    s.m_Resource_Bone -= GetStructCostBone(structID);
    s.m_Resource_Magic -= GetStructCostMagic(structID);
    s.m_Resource_Gold -= GetStructCostGold(structID, extra, GetRoomFloor(room));
    room->m_CreateTimeLeft = room->m_CreateTimeTotal = (built + 1) * row->m_CreateTime;
    room->m_StructID = structID;
    room->m_Extended = 1;
    for (int32_t slot = row->m_Capacity < 0 ? 0 : row->m_Capacity; slot < 5; ++slot)
    {
        ZorTaskUnitEntity* unit = FindUnit(room->m_UnitEntityIDs[slot]);
        if (!unit)
            continue;
        const bool leaving =
            (unit->m_CreateTimeLeft > 0 || unit->m_DisappearTimeLeft > 0 || unit->m_HP < 1 || unit->IsBeingRemoved()) &&
            unit->m_AppearTimeLeft <= 0 && unit->m_ArrangeTimeLeft <= 0;
        if (unit->IsTrap() || leaving)
            DisposeUnit(room->m_UnitEntityIDs[slot]);
        else
            ReturnUnitToReady(room->m_UnitEntityIDs[slot]);
    }
    s.RecountStructs();
    s.RebuildBlockCells();
    m_Listener->OnRefresh(ZorRulesListener::kRefreshMinimap);
    return true;
}

// Slots 0..4 hold defenders; a slot outside them, or one already taken, is refused so that no unit is
// written past the slots or left without its slot.
bool ZorCore::SummonUnit(int32_t rx, int32_t rz, int32_t slot, int32_t unitID)
{
    ZorUserData& s = *m_UserData;
    ZorRoomState* room = s.GetRoughRoom(rx, rz);
    GxTaskBase* list = FindList(kUnitPlayerList);
    if (!room || slot < 0 || slot > 4 || room->m_UnitEntityIDs[slot] != 0 || !list || s.CheckUnitSummon(unitID) < 7)
        return false;
    const DBZorUnitData* row = Row(unitID);
    s.m_Resource_Bone -= row->m_CostBone;
    s.m_Resource_Magic -= row->m_CostMagic;
    s.m_Resource_Gold -= row->m_CostGold;
    s.m_Resource_LeadershipUsing += row->m_CostLeadership;
    auto* unit = new ZorTaskUnitEntity(list);
    unit->SetTaskID(static_cast<uint64_t>(TakeNextUnitTaskID()));
    ZorUnitState* type = s.GetUnitState(unitID);
    int32_t level = 1;
    if (row->m_Class == ZorTaskUnitEntity::kTrapClass)
        level = s.GetStructState(6) ? s.GetStructState(6)->m_RoomActiveCount : 0;
    else if (row->m_UniqueFlag)
        level = type->m_Level;
    unit->InitAsPlayerUnit(unitID, level, rx, rz, slot);
    if (row->m_UniqueFlag && row->m_Class != ZorTaskUnitEntity::kTrapClass)
        unit->m_Exp = type->m_Exp;
    room->m_UnitEntityIDs[slot] = static_cast<int64_t>(unit->GetTaskID());
    ++type->m_UnitCreateCount;
    return true;
}

bool ZorCore::ArrangeUnit(int64_t taskID, int32_t rx, int32_t rz, int32_t slot)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    ZorRoomState* room = m_UserData->GetRoughRoom(rx, rz);
    GxTaskBase* list = FindList(kUnitPlayerList);
    if (!unit || !room || !list || slot < 0 || slot > 4)
        return false;
    room->m_UnitEntityIDs[slot] = taskID;
    m_TaskManage->MoveNode(unit, list);
    unit->PlaceInRoom(rx, rz, slot);
    m_Listener->OnRefresh(ZorRulesListener::kRefreshRoomButtons | ZorRulesListener::kRefreshUnitList);
    return true;
}

namespace
{

// Clears the unit's room slot when it still holds the unit's own ID.
void ClearSlot(ZorUserData& s, ZorTaskUnitEntity& unit)
{
    ZorRoomState* room = s.GetRoughRoom(unit.m_RoughPosX, unit.m_RoughPosY);
    if (room && unit.m_SlotIndex >= 0 && unit.m_SlotIndex < ZorRoomState::kSlots &&
        room->m_UnitEntityIDs[unit.m_SlotIndex] == static_cast<int64_t>(unit.GetTaskID()))
        room->m_UnitEntityIDs[unit.m_SlotIndex] = 0;
}

} // namespace

bool ZorCore::ReturnUnitToReady(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    GxTaskBase* ready = FindList(kUnitReadyList);
    if (!unit || !ready)
        return false;
    ClearSlot(*m_UserData, *unit);
    unit->RemoveFromMap();
    m_TaskManage->MoveNode(unit, ready);
    m_Listener->OnRefresh(ZorRulesListener::kRefreshRoomButtons | ZorRulesListener::kRefreshUnitList);
    return true;
}

bool ZorCore::RetreatUnit(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    if (!unit)
        return false;
    ShowEffect(L"EFE_DISAPPEAR", unit->GetWorldPos(), 70.0f);
    if (const ZorRoomState* room = unit->GetRoom())
        AddTextLog(room,
                   GxString::Format(L"%sが撤退したようだ。情けない奴め", Row(unit->m_UnitID)->m_ShowName.c_str()));
    return ReturnUnitToReady(taskID);
}

bool ZorCore::DisposeUnit(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    if (!unit)
        return false;
    ZorUserData& s = *m_UserData;
    s.m_Resource_LeadershipUsing -= Row(unit->m_UnitID)->m_CostLeadership;
    ClearSlot(s, *unit);
    if (ZorUnitState* type = s.GetUnitState(unit->m_UnitID))
        --type->m_UnitCreateCount;
    unit->RemoveFromMap();
    unit->Kill();
    m_Listener->OnRefresh(ZorRulesListener::kRefreshRoomButtons | ZorRulesListener::kRefreshUnitList);
    return true;
}

bool ZorCore::KillPlayerUnit(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    if (!unit)
        return false;
    ZorUserData& s = *m_UserData;
    const DBZorUnitData* row = Row(unit->m_UnitID);
    s.m_Resource_LeadershipUsing -= row->m_CostLeadership;
    ShowEffect(L"EFE_DEAD_FRIEND", unit->GetWorldPos(), 70.0f);
    if (const ZorRoomState* room = unit->GetRoom())
    {
        ClearSlot(s, *unit);
        AddTextLog(room, GxString::Format(unit->IsTrap() ? L"%sが壊れたようだ" : L"%sが倒されたようだ",
                                          row->m_ShowName.c_str()));
    }
    if (ZorUnitState* type = s.GetUnitState(unit->m_UnitID))
        --type->m_UnitCreateCount;
    unit->RemoveFromMap();
    unit->Kill();
    m_Listener->OnRefresh(ZorRulesListener::kRefreshRoomButtons | ZorRulesListener::kRefreshUnitList);
    return true;
}

// The fallen invader stays readable (flagged, swept later) so the capture check can still see it.
bool ZorCore::KillEnemyUnit(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    if (!unit || unit->IsBeingRemoved())
        return false;
    ShowEffect(L"EFE_DEAD_ENEMY", unit->GetWorldPos(), 70.0f);
    if (ZorUnitState* type = m_UserData->GetUnitState(unit->m_UnitID))
        --type->m_UnitCreateCount;
    if (m_UserData->m_RemainEnemyLeft > 0)
        --m_UserData->m_RemainEnemyLeft;
    unit->Kill();
    return true;
}

bool ZorCore::RemoveEnemyUnit(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    if (!unit || unit->IsBeingRemoved())
        return false;
    ShowEffect(L"EFE_DISAPPEAR_ENEMY", unit->GetWorldPos(), 70.0f);
    if (ZorUnitState* type = m_UserData->GetUnitState(unit->m_UnitID))
        --type->m_UnitCreateCount;
    unit->Kill();
    return true;
}

void ZorCore::AddDefeatReward(ZorReward& out, const ZorTaskUnitEntity& unit, const ZorRoomState* room) const
{
    float f = static_cast<float>(unit.m_Level - 1) / 20.0f + 1.0f;
    float bone = 1.0f;
    float magic = 1.0f;
    float gold = 1.0f;
    if (room)
    {
        f += 0.05f * static_cast<float>(room->m_RoomEffectLevels[10]);
        const bool working = room->m_CreateTimeLeft <= 0;
        if (working && room->m_StructID == 10)
            f += 0.1f;
        if (working && room->m_StructID == 7)
            bone = 1.3f;
        if (working && room->m_StructID == 8)
            magic = 1.5f;
        if (working && room->m_StructID == 9)
            gold = 5.0f;
    }
    if (m_UserData->m_Notoriety)
    {
        magic *= 0.5f;
        gold *= 0.5f;
    }
    const DBZorUnitData* row = Row(unit.m_UnitID);
    out.bone += static_cast<int32_t>(static_cast<float>(row->m_CostBone) * f * bone);
    out.magic += static_cast<int32_t>(static_cast<float>(row->m_CostMagic) * f * magic);
    out.gold += static_cast<int32_t>(static_cast<float>(row->m_CostGold) * f * gold);
}

bool ZorCore::HasActiveUnitOfType(const ZorRoomState* room, int32_t unitID) const
{
    if (!room)
        return false;
    for (int32_t slot = 0; slot < 5; ++slot)
    {
        const ZorTaskUnitEntity* unit = FindUnit(room->m_UnitEntityIDs[slot]);
        if (unit && unit->m_UnitID == unitID && unit->IsUnitActive())
            return true;
    }
    return false;
}

bool ZorCore::CheckCapture(const ZorTaskUnitEntity& unit, const ZorRoomState* room)
{
    const int32_t id = unit.m_UnitID;
    if (unit.m_PlayerFlag || !Row(id)->m_UniqueFlag)
        return false;
    ZorUserData& s = *m_UserData;
    const ZorUnitState* type = s.GetUnitState(id);
    bool captured = false;
    if (room && type && type->m_CaptureEnabled && type->m_FriendFlag == 0 && id >= 61 && id <= 69)
    {
        switch (id)
        {
        case 61:
            captured = HasActiveUnitOfType(room, 12);
            break;
        case 62:
            captured = HasActiveUnitOfType(room, 38);
            break;
        case 63:
            captured = HasActiveUnitOfType(room, 55);
            break;
        case 64:
            captured = HasActiveUnitOfType(room, 29);
            break;
        case 65:
            captured = room->m_RoomEffectLevels[2] > 0;
            break;
        case 66:
            captured = room->m_RoomEffectLevels[3] > 0;
            break;
        case 67:
            captured = room->m_StructID == 13 && room->m_CreateTimeLeft <= 0;
            break;
        case 68:
            captured = HasActiveUnitOfType(room, 49);
            break;
        default:
            for (int32_t other = 1; other <= 8 && !captured; ++other)
                captured = HasActiveUnitOfType(room, other);
            break;
        }
    }
    PlayVoice(id, captured ? 14 : 12, 1, 100);
    s.m_Capture_UnitID = id;
    s.m_Capture_Result = captured ? 2 : 1;
    return captured;
}
