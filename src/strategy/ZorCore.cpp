#include "strategy/ZorCore.h"

#include "appdata/DBZorUnit.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "appdata/ZorGlobals.h"
#include "core/GxLog.h"
#include "strategy/ZorRoundData.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "task/GxTaskManage.h"

#include <vector>

ZorCore* ZorCore::s_Instance = nullptr;
std::unique_ptr<ZorCore> ZorCore::s_Owned;

ZorCore* ZorCore::Create(GxCore* core, GxTaskManage* manage)
{
    s_Owned = std::make_unique<ZorCore>(core, manage);
    return s_Owned.get();
}

void ZorCore::Destroy()
{
    s_Owned.reset();
}

ZorCore::ZorCore(GxCore* core, GxTaskManage* manage)
    : m_Core(core), m_TaskManage(manage), m_UserData(std::make_unique<ZorUserData>(core))
{
    s_Instance = this;
}

ZorCore::~ZorCore()
{
    if (s_Instance == this)
        s_Instance = nullptr;
}

GxTaskBase* ZorCore::FindList(const wchar_t* name) const
{
    return m_TaskManage ? m_TaskManage->FindTaskByName(name) : nullptr;
}

ZorTaskCamera* ZorCore::GetCamera() const
{
    return dynamic_cast<ZorTaskCamera*>(
        FindList(m_UserData->m_GamePhase > 8 ? L"$ZORCAMERA:SeqZorInvMain" : L"$ZORCAMERA:SeqZorMain"));
}

void ZorCore::ClearUnitList(GxTaskBase* list)
{
    if (!list || !m_TaskManage)
        return;
    for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
        t->Kill();
    // A dead task waits out its delete delay (one sweep by default) before it goes.
    for (int32_t pass = 0; pass < 8 && list->GetChildCount() > 0; ++pass)
        m_TaskManage->DeleteDeadTasks(list->GetFirstChild());
}

int64_t ZorCore::TakeNextUnitTaskID()
{
    return m_UserData->m_NextUnitTaskID++;
}

bool ZorCore::AddFirstReadyUnit()
{
    GxTaskBase* ready = FindList(kUnitReadyList);
    if (!ready)
    {
        GxLog::Error(L"ZorCore::AddFirstReadyUnit/ユニットリストが見つかりません(%s)\n", kUnitReadyList);
        return false;
    }
    m_UserData->m_Resource_LeadershipUsing += g_DBZorUnit.GetRow(12)->m_CostLeadership;
    auto* unit = new ZorTaskUnitEntity(ready);
    unit->SetTaskID(static_cast<uint64_t>(TakeNextUnitTaskID()));
    unit->InitAsFirstReadyUnit();
    if (ZorUnitState* state = m_UserData->GetUnitState(12))
        ++state->m_UnitCreateCount;
    return true;
}

bool ZorCore::AddReadyUnitFromRecord(const ZorUnitRecord& record)
{
    GxTaskBase* ready = FindList(kUnitReadyList);
    ZorUnitState* state = m_UserData->GetUnitState(record.m_UnitID);
    if (!ready || !state)
    {
        GxLog::Error(L"ZorCore::AddReadyUnitFromRecord/ユニットを追加できません(UnitID=%d)\n", record.m_UnitID);
        return false;
    }
    m_UserData->m_Resource_LeadershipUsing +=
        g_DBZorUnit.GetRow(static_cast<uint32_t>(record.m_UnitID))->m_CostLeadership;
    auto* unit = new ZorTaskUnitEntity(ready);
    unit->SetTaskID(static_cast<uint64_t>(TakeNextUnitTaskID()));
    unit->InitFromRecord(record);
    ++state->m_UnitCreateCount;
    return true;
}

// Walks a snapshot: every move changes the list being walked.
bool ZorCore::ReturnAllUnitsToReady()
{
    GxTaskBase* player = FindList(kUnitPlayerList);
    GxTaskBase* ready = FindList(kUnitReadyList);
    if (!player || !ready)
        return true;
    std::vector<ZorTaskUnitEntity*> units;
    for (GxTaskBase* t = player->GetFirstChild(); t; t = t->GetNextSibling())
        if (auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t); unit && !unit->IsBeingRemoved() && !unit->IsTrap())
            units.push_back(unit);
    for (ZorTaskUnitEntity* unit : units)
    {
        ZorRoomState* room = m_UserData->GetRoughRoom(unit->m_RoughPosX, unit->m_RoughPosY);
        if (room && unit->m_SlotIndex >= 0 && unit->m_SlotIndex < ZorRoomState::kSlots &&
            room->m_UnitEntityIDs[unit->m_SlotIndex] == static_cast<int64_t>(unit->GetTaskID()))
            room->m_UnitEntityIDs[unit->m_SlotIndex] = 0;
        unit->RemoveFromMap();
        m_TaskManage->MoveNode(unit, ready);
    }
    return true;
}

bool ZorCore::ApplyTakeOver(const std::vector<ZorTaskUnitEntity*>& units, const ZorRoundData& round)
{
    const uint32_t flags =
        (m_Core && m_Core->m_UserDataPerman) ? m_Core->m_UserDataPerman->m_ExtraOption.GetBits() : 0u;
    return ApplyTakeOver(units, round, flags);
}

bool ZorCore::ApplyTakeOver(const std::vector<ZorTaskUnitEntity*>& units, const ZorRoundData& round,
                            uint32_t permanentFlags)
{
    ZorUserData& state = *m_UserData;
    for (int32_t i = 0; i < ZorUserData::kUnitCount; ++i)
        if (g_DBZorUnit.GetRow(static_cast<uint32_t>(i))->m_UniqueFlag != 0 && state.GetUnitState(i) &&
            static_cast<size_t>(i) < round.m_UnitStates.size())
            state.GetUnitState(i)->m_Level = round.m_UnitStates[i].m_Level;

    if (round.m_ChoiceFlags & kChoiceWeeks)
        for (int32_t bit = 0; bit < 3; ++bit)
            if (permanentFlags & (1u << bit))
                state.m_AstarosWeekLimit += 10;

    if (round.m_ChoiceFlags & kChoiceUnlocks)
    {
        struct Unlock
        {
            int32_t m_Bit;
            bool m_Trap;
            const wchar_t* m_Name;
        };
        static const Unlock s_Unlocks[] = {
            {11, false, L"STオベリスク"}, {12, false, L"ST闘技の間"}, {13, true, L"T盲目の霧"},
            {13, true, L"T弱化の罠"},     {14, false, L"ST魔界病院"}, {15, false, L"ST魔物の巣"},
            {16, false, L"ST忍者屋敷"},   {17, true, L"T封印の符"},   {17, true, L"T深闇の獄"},
            {18, false, L"ST迷いの回廊"}, {19, false, L"ST司令所"},
        };
        for (const Unlock& u : s_Unlocks)
        {
            if (!(permanentFlags & (1u << u.m_Bit)))
                continue;
            // A name the tables lack finds the none row, which must stay as it is.
            if (u.m_Trap)
            {
                const int32_t id = ZorGlobals::FindUnit(u.m_Name);
                if (ZorUnitState* s = id != 0 ? state.GetUnitState(id) : nullptr)
                    s->m_Enabled = 1;
            }
            else
            {
                const int32_t id = ZorGlobals::FindStruct(u.m_Name);
                if (ZorStructState* s = id != 0 ? state.GetStructState(id) : nullptr)
                    s->m_Enabled = 1;
            }
        }
    }

    if (round.m_ChoiceFlags & kChoiceGold)
        state.m_Resource_Gold += round.m_Resource_Gold / 2;
    if (round.m_ChoiceFlags & kChoiceLeadership)
        state.m_Resource_LeadershipBase = 150;

    for (const ZorTaskUnitEntity* unit : units)
        if (unit)
            AddReadyUnitFromRecord(*unit);
    return true;
}
