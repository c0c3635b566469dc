#include "strategy/ZorCore.h"

#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/ZorGlobals.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxRandom.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

#include <algorithm>

// The invasion field: the player's two formations of five slots against a town's party of nine, a
// countdown of 2700 ticks, won when the party's leader (slot 5) falls.

namespace
{

constexpr int32_t kLeaderSlot = 5;

const DBZorUnitData* Row(int32_t unitID)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unitID));
}

bool PlayerSlot(int32_t formation, int32_t slot)
{
    if (formation < 0 || formation > 1 || slot < 0 || slot > 4)
    {
        GxLog::Error(L"ZorCore::CheckFieldSlot/編成の指定が不正です(formation:%d,slot:%d)\n", formation, slot);
        return false;
    }
    return true;
}

} // namespace

void ZorCore::BeginInvasion()
{
    ClearUnitList(FindList(kInvEnemyList));
    for (ZorRoomState& f : m_UserData->m_FieldFormations)
        f.Reset();
    CreateTownEnemyParty(m_UserData->m_NextInvTownID);
    m_UserData->m_TimerCount = 2700;
}

// An empty party slot stays empty (no none-row unit), and a fallen slot (rate 0) likewise.
bool ZorCore::CreateTownEnemyParty(int32_t townID)
{
    ZorUserData& s = *m_UserData;
    ZorTownState* town = s.GetTownState(townID);
    GxTaskBase* list = FindList(kInvEnemyList);
    ZorRoomState& formation = s.m_FieldFormations[2];
    if (!town || !list)
        return false;
    const int32_t party = ZorGlobals::FindEnemy(town->m_EnemyParty);
    const DBZorEnemyData* row = g_DBZorEnemy.GetRow(static_cast<uint32_t>(party));
    for (int32_t i = 0; i < 9; ++i)
    {
        formation.m_UnitEntityIDs[i] = 0;
        const float rate = town->m_EnemyHPRate[i];
        if (row->m_UnitName[i].empty() || rate == 0.0f)
            continue;
        const int32_t unitID = ZorGlobals::FindUnit(row->m_UnitName[i]);
        if (unitID == 0)
            continue;
        const float multi = Row(unitID)->m_ExpMulti;
        float level = s.m_Notoriety ? multi * static_cast<float>(std::min(town->m_EnemyLevel + 50, 90))
                                    : multi * static_cast<float>(town->m_EnemyLevel);
        if (i == 1 || i == 4 || i == 7)
            level += 1.0f;
        else if (i == 2 || i == 5 || i == 8)
            level += 2.0f;
        if (level < 1.0f)
            level = 1.0f;
        if (level > 10.0f && !s.m_Notoriety)
            level = 10.0f;
        const int32_t lv = static_cast<int32_t>(level);
        if (m_Core && m_Core->m_SystemConfig && m_Core->m_SystemConfig->m_DebugModeFlag)
            GxLog::Debug(L"town %d:invenemy:%d=LV%d\n", townID, i, lv);
        auto* unit = new ZorTaskUnitEntity(list);
        unit->SetTaskID(static_cast<uint64_t>(TakeNextUnitTaskID()));
        unit->InitAsFieldEnemy(unitID, lv, i);
        unit->m_EnemyPartyID = party;
        unit->m_EnemyLeaderFlag = i == kLeaderSlot ? 1 : 0;
        unit->m_HP = static_cast<int32_t>(static_cast<float>(unit->GetMaxHP()) * rate);
        unit->RandomizeTimers();
        formation.m_UnitEntityIDs[i] = static_cast<int64_t>(unit->GetTaskID());
    }
    return true;
}

GxVector4 ZorCore::GetFieldSlotPosition(int32_t slot, int32_t formation)
{
    if (formation == 0)
        return GxVector4(static_cast<float>(20 * slot - 80), 0.0f, -60.0f, 0.0f);
    return GxVector4(static_cast<float>(20 * slot - 72), 0.0f, 30.0f, 0.0f);
}

bool ZorCore::AddUnitToField(int64_t taskID, int32_t formation, int32_t slot)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    GxTaskBase* list = FindList(kInvPlayerList);
    if (!unit || !list || !PlayerSlot(formation, slot))
        return false;
    ZorUserData& s = *m_UserData;
    if (ZorRoomState* room = unit->GetRoom())
    {
        if (unit->m_SlotIndex >= 0 && unit->m_SlotIndex < ZorRoomState::kSlots &&
            room->m_UnitEntityIDs[unit->m_SlotIndex] == taskID)
            room->m_UnitEntityIDs[unit->m_SlotIndex] = 0;
        unit->RemoveFromMap();
    }
    unit->m_FieldPos = formation;
    unit->m_FieldIndex = slot;
    const GxVector4 p = GetFieldSlotPosition(slot, formation);
    unit->m_WorldPos = GxVector3(p.x, p.y, p.z);
    unit->RandomizeTimers();
    m_TaskManage->MoveNode(unit, list);
    ZorRoomState& f = s.m_FieldFormations[formation];
    f.m_UnitEntityIDs[slot] = taskID;
    f.m_TotalLerderShip += Row(unit->m_UnitID)->m_CostLeadership;
    m_Listener->OnRefresh(ZorRulesListener::kRefreshUnitList);
    return true;
}

bool ZorCore::RemoveUnitFromField(int32_t formation, int32_t slot)
{
    if (!PlayerSlot(formation, slot))
        return false;
    ZorRoomState& f = m_UserData->m_FieldFormations[formation];
    const int64_t id = f.m_UnitEntityIDs[slot];
    if (id == 0)
        return false;
    f.m_UnitEntityIDs[slot] = 0;
    ZorTaskUnitEntity* unit = FindUnit(id);
    GxTaskBase* ready = FindList(kUnitReadyList);
    if (!unit || !ready)
        return false;
    f.m_TotalLerderShip -= Row(unit->m_UnitID)->m_CostLeadership;
    unit->ResetForField();
    m_TaskManage->MoveNode(unit, ready);
    m_Listener->OnRefresh(ZorRulesListener::kRefreshUnitList);
    return true;
}

void ZorCore::UpdateInvasion()
{
    ZorUserData& s = *m_UserData;
    if (s.m_GamePhase == 9)
    {
        for (const wchar_t* name : {kInvPlayerList, kInvEnemyList})
            for (int64_t id : SnapshotUnits(name))
            {
                ZorTaskUnitEntity* unit = FindUnit(id);
                unit->AdvanceFrameCount();
                ++unit->m_MotionTime;
            }
        return;
    }
    if (s.m_GamePhase != 10)
        return;
    UpdateFormationEffects();
    for (const wchar_t* name : {kInvPlayerList, kInvEnemyList})
    {
        GxTaskBase* list = FindList(name);
        for (int64_t id : SnapshotUnits(name))
        {
            ZorTaskUnitEntity* unit = FindUnit(id);
            if (!unit || unit->IsBeingRemoved() || unit->GetParent() != list)
                continue;
            unit->UpdateField();
            if (!unit->IsBeingRemoved() && unit->GetParent() == list)
                unit->UpdateFieldHitPoints();
        }
    }
    --s.m_TimerCount;
    const int32_t end = CheckInvasionEnd();
    if (end == 1)
        InvasionVictory();
    else if (end == 2)
        InvasionDefeat();
}

void ZorCore::UpdateFormationEffects()
{
    for (ZorRoomState& f : m_UserData->m_FieldFormations)
    {
        std::fill(std::begin(f.m_RoomEffectLevels), std::end(f.m_RoomEffectLevels), 0);
        if (f.m_SpecialAttackRestrictTime > 0)
            --f.m_SpecialAttackRestrictTime;
        if (f.m_HealRestrictTime > 0)
            --f.m_HealRestrictTime;
    }
    for (int64_t id : SnapshotUnits(kInvPlayerList))
    {
        const ZorTaskUnitEntity* unit = FindUnit(id);
        if (!unit->IsUnitActive() || unit->m_FieldPos < 0 || unit->m_FieldPos > 2)
            continue;
        ZorRoomState& f = m_UserData->m_FieldFormations[unit->m_FieldPos];
        for (int32_t slot = 3; slot <= 4; ++slot)
        {
            const int32_t e = g_DBZorSkill.GetRow(static_cast<uint32_t>(unit->m_Skills[slot].m_SkillID))->m_RoomEffect;
            if (e > 0 && e < ZorRoomState::kEffects && f.m_RoomEffectLevels[e] < 4)
                ++f.m_RoomEffectLevels[e];
        }
    }
}

int32_t ZorCore::CheckInvasionEnd() const
{
    const ZorUserData& s = *m_UserData;
    const ZorTaskUnitEntity* leader = FindUnit(s.m_FieldFormations[2].m_UnitEntityIDs[kLeaderSlot]);
    if (!leader || leader->m_HP == 0)
        return 1;
    if (s.m_TimerCount <= 0 ||
        (s.m_FieldFormations[0].m_TotalLerderShip == 0 && s.m_FieldFormations[1].m_TotalLerderShip == 0))
        return 2;
    return 0;
}

bool ZorCore::KillFieldEnemy(int64_t taskID)
{
    ZorTaskUnitEntity* unit = FindUnit(taskID);
    if (!unit)
        return false;
    ShowEffect(L"EFE_DEAD_ENEMY", unit->GetWorldPos(), 70.0f);
    if (unit->m_FieldIndex >= 0 && unit->m_FieldIndex < ZorRoomState::kSlots &&
        m_UserData->m_FieldFormations[2].m_UnitEntityIDs[unit->m_FieldIndex] == taskID)
        m_UserData->m_FieldFormations[2].m_UnitEntityIDs[unit->m_FieldIndex] = 0;
    unit->ResetForField();
    unit->Kill();
    return true;
}

void ZorCore::InvasionVictory()
{
    m_Listener->OnScreenEffect(L"EFE_INV_VICTORY", 512.0f, 384.0f, 14100.0f);
    PlayVoice(45, 20, 1, 100);
    m_Listener->OnBGM(L"j05.ogg");
    m_UserData->m_GamePhase = 12;
}

void ZorCore::InvasionDefeat()
{
    m_Listener->OnScreenEffect(L"EFE_INV_DEFEATED", 512.0f, 384.0f, 14100.0f);
    PlayVoice(45, 21, 1, 100);
    m_UserData->m_GamePhase = 13;
}

void ZorCore::EndInvasion()
{
    ZorUserData& s = *m_UserData;
    GxTaskBase* ready = FindList(kUnitReadyList);
    for (int32_t formation = 0; formation < 2; ++formation)
        for (int32_t slot = 0; slot < 5; ++slot)
        {
            ZorRoomState& f = s.m_FieldFormations[formation];
            const int64_t id = f.m_UnitEntityIDs[slot];
            if (id == 0)
                continue;
            f.m_UnitEntityIDs[slot] = 0;
            ZorTaskUnitEntity* unit = FindUnit(id);
            if (!unit)
                continue;
            f.m_TotalLerderShip -= Row(unit->m_UnitID)->m_CostLeadership;
            unit->ResetForField();
            if (ready)
                m_TaskManage->MoveNode(unit, ready);
            m_Listener->OnRefresh(ZorRulesListener::kRefreshUnitList);
        }
    if (ZorTownState* town = s.GetTownState(s.m_NextInvTownID))
    {
        for (int32_t i = 0; i < 9; ++i)
        {
            const ZorTaskUnitEntity* unit = FindUnit(s.m_FieldFormations[2].m_UnitEntityIDs[i]);
            const int32_t maxHP = unit ? unit->GetMaxHP() : 0;
            // A maximum of 0 gives rate 0 rather than 0 / 0.
            town->m_EnemyHPRate[i] = (unit && !unit->IsBeingRemoved() && maxHP > 0)
                                         ? static_cast<float>(unit->m_HP) / static_cast<float>(maxHP)
                                         : 0.0f;
        }
        for (int32_t i : {2, 5, 8})
            if (town->m_EnemyHPRate[i] == 0.0f)
                town->m_EnemyHPRate[i] = 0.6f;
    }
    ClearUnitList(FindList(kInvEnemyList));
    ClearEffects();
    for (ZorRoomState& f : s.m_FieldFormations)
        f.Reset();
    s.m_TimerCount = 0;
}

// --- field targets -----------------------------------------------------------------------------------

std::vector<ZorTaskUnitEntity*> ZorCore::FieldUnits(int32_t formation, bool woundedOnly) const
{
    std::vector<ZorTaskUnitEntity*> units;
    if (formation < 0 || formation > 2)
        return units;
    for (int64_t id : m_UserData->m_FieldFormations[formation].m_UnitEntityIDs)
    {
        ZorTaskUnitEntity* unit = FindUnit(id);
        if (!unit || !unit->IsUnitActive())
            continue;
        if (woundedOnly && static_cast<float>(unit->m_HP) / static_cast<float>(unit->GetMaxHP()) == 1.0f)
            continue;
        units.push_back(unit);
    }
    return units;
}

std::vector<int64_t> ZorCore::PickFieldGroup(std::vector<ZorTaskUnitEntity*> units)
{
    const int32_t n = static_cast<int32_t>(units.size());
    if (n >= 4)
        for (int32_t k = 0; k < 30; ++k)
        {
            const int32_t a = GxRandom::Next(n);
            const int32_t b = GxRandom::Next(n);
            std::swap(units[a], units[b]);
        }
    std::vector<int64_t> ids;
    for (int32_t i = 0; i < n && i < 3; ++i)
        ids.push_back(static_cast<int64_t>(units[i]->GetTaskID()));
    return ids;
}

std::vector<int64_t> ZorCore::ChooseFieldEnemyTargets()
{
    return PickFieldGroup(FieldUnits(2, false));
}

std::vector<int64_t> ZorCore::ChooseWoundedFieldEnemies()
{
    return PickFieldGroup(FieldUnits(2, true));
}

namespace
{

template <typename Collect> std::vector<ZorTaskUnitEntity*> PlayerFormation(Collect collect)
{
    std::vector<ZorTaskUnitEntity*> units = collect(GxRandom::Next(2));
    if (units.empty())
        units = collect(0);
    if (units.empty())
        units = collect(1);
    return units;
}

} // namespace

std::vector<int64_t> ZorCore::ChooseFieldPlayerTargets()
{
    return PickFieldGroup(PlayerFormation([this](int32_t f) { return FieldUnits(f, false); }));
}

std::vector<int64_t> ZorCore::ChooseWoundedFieldPlayers()
{
    return PickFieldGroup(PlayerFormation([this](int32_t f) { return FieldUnits(f, true); }));
}

int64_t ZorCore::ChooseWeightedFieldTarget(int32_t formation)
{
    static const int32_t s_Weights[3][10] = {
        {3, 4, 5, 6, 7, 0, 0, 0, 0, 0}, {3, 4, 5, 6, 7, 0, 0, 0, 0, 0}, {5, 4, 3, 5, 4, 2, 5, 4, 3, 0}};
    if (formation < 0 || formation > 2)
        return 0;
    std::vector<int64_t> pool;
    const ZorRoomState& f = m_UserData->m_FieldFormations[formation];
    for (int32_t slot = 0; slot < ZorRoomState::kSlots; ++slot)
        if (f.m_UnitEntityIDs[slot] != 0 && FindUnit(f.m_UnitEntityIDs[slot]))
            pool.insert(pool.end(), s_Weights[formation][slot], f.m_UnitEntityIDs[slot]);
    return pool.empty() ? 0 : pool[GxRandom::Next(static_cast<int32_t>(pool.size()))];
}

int64_t ZorCore::FindWeakestFieldUnit(int32_t formation) const
{
    float best = 1.0f;
    int64_t found = 0;
    for (ZorTaskUnitEntity* unit : FieldUnits(formation, true))
    {
        const float rate = static_cast<float>(unit->m_HP) / static_cast<float>(unit->GetMaxHP());
        if (rate < best)
        {
            best = rate;
            found = static_cast<int64_t>(unit->GetTaskID());
        }
    }
    return found;
}
