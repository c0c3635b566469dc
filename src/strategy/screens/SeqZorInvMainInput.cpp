#include "strategy/screens/SeqZorInvMain.h"

#include "appdata/DBZorUnit.h"
#include "appdata/GxSoundControl.h"
#include "core/GxLog.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorInvReleaser.h"
#include "strategy/screens/ZorTaskInvUnitList.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

constexpr uint32_t kVk0 = 0x30;
constexpr uint32_t kVk1 = 0x31;
constexpr int32_t kTrapClass = 20;
constexpr float kSlotSize = 78.0f;

const DBZorUnitData* Row(const ZorTaskUnitEntity& unit)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unit.m_UnitID));
}

int32_t Leadership(const ZorTaskUnitEntity& unit)
{
    const DBZorUnitData* row = Row(unit);
    return row ? row->m_CostLeadership : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// [SECTION] formation geometry and the drop

float SeqZorInvMain::SlotLeft(int32_t formation, int32_t slot)
{
    return (formation == 0 ? 64.0f : 104.0f) + 100.0f * static_cast<float>(slot);
}

float SeqZorInvMain::SlotTop(int32_t formation)
{
    return formation == 0 ? 150.0f : 378.0f;
}

bool SeqZorInvMain::CanTake(int32_t formation, const ZorTaskUnitEntity& unit) const
{
    const ZorUserData* s = State();
    if (!s || formation < 0 || formation >= kFormations)
        return false;
    return s->m_FieldFormations[formation].m_TotalLerderShip + Leadership(unit) <= s->GetPartyCapacity();
}

int32_t SeqZorInvMain::SlotAt(int32_t formation, const ZorTaskUnitEntity& unit, float x, float y) const
{
    if (!CanTake(formation, unit))
        return -1;
    const ZorUserData* s = State();
    for (int32_t slot = 0; slot < kSlots; ++slot)
    {
        const float left = SlotLeft(formation, slot);
        const float top = SlotTop(formation);
        if (s->m_FieldFormations[formation].m_UnitEntityIDs[slot] == 0 && x >= left && x < left + kSlotSize &&
            y >= top && y < top + kSlotSize)
            return slot;
    }
    return -1;
}

void SeqZorInvMain::Drop(float x, float y)
{
    ZorCore* core = Core();
    ZorTaskUnitEntity* unit = m_DraggedUnit != 0 && core ? core->FindUnit(m_DraggedUnit) : nullptr;
    if (unit && GetOpenDialogCount() == 0 && unit->m_FieldPos == -1)
    {
        int32_t formation = -1;
        int32_t slot = -1;
        // A match in formation 1 is taken over one in formation 0 (the rows cannot overlap, but keep
        // the order).
        for (int32_t f = 0; f < kFormations; ++f)
        {
            const int32_t s = SlotAt(f, *unit, x, y);
            if (s >= 0)
                formation = f, slot = s;
        }
        if (formation >= 0)
        {
            core->AddUnitToField(m_DraggedUnit, formation, slot);
            FieldChanged();
        }
    }
    m_DraggedUnit = 0;
}

int32_t SeqZorInvMain::OnMouseLeftUp(const float* point, uint32_t keys)
{
    (void)keys;
    if (point)
        Drop(point[0], point[1]);
    else
        m_DraggedUnit = 0;
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] buttons, keys and the automatic formation

void SeqZorInvMain::UpdateWarButtons()
{
    const ZorUserData* s = State();
    if (!s)
        return;
    GxTaskUIBase* open = BottomWidget(L"btn_openthewar");
    GxTaskUIBase* cancel = BottomWidget(L"btn_cancelthewar");
    if (s->m_GamePhase == 9)
    {
        if (cancel)
            cancel->SetEnabled(true);
        if (open)
            open->SetEnabled(s->m_FieldFormations[0].m_TotalLerderShip > 0 ||
                             s->m_FieldFormations[1].m_TotalLerderShip > 0);
    }
    else if (s->m_GamePhase >= 10 && s->m_GamePhase <= 13)
    {
        if (cancel)
            cancel->SetEnabled(false);
        if (open)
            open->SetEnabled(false);
    }
}

void SeqZorInvMain::FieldChanged()
{
    // The strip's length changes with the units placed on the field.
    m_UnitList->UpdateScrollRange();
    UpdateWarButtons();
}

int32_t SeqZorInvMain::CalcExpectedDamage(const ZorTaskUnitEntity& unit) const
{
    ZorCore* core = Core();
    ZorUserData* s = State();
    if (!core || !s)
        return 0;
    const ZorRoomState& enemies = s->m_FieldFormations[2];
    int32_t sum = 0;
    for (int32_t i = 0; i < 9; ++i)
    {
        const ZorTaskUnitEntity* target = core->FindUnit(enemies.m_UnitEntityIDs[i]);
        if (target && !target->IsBeingRemoved())
            sum += core->CalcDamage(unit.m_Skills[0].m_SkillID, unit, &enemies, *target);
    }
    return sum;
}

void SeqZorInvMain::CollectCandidates() const
{
    m_Candidates.clear();
    GxTaskManage* manage = GetManager();
    GxTaskBase* ready = manage ? manage->FindTaskByName(ZorCore::kUnitReadyList) : nullptr;
    for (GxTaskBase* t = ready ? ready->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
    {
        auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
        const DBZorUnitData* row = unit ? Row(*unit) : nullptr;
        if (!unit || !row || unit->IsBeingRemoved() || row->m_Class == kTrapClass || unit->m_ArrangeTimeLeft > 0 ||
            unit->m_CreateTimeLeft > 0 || unit->NeedsRecovery())
            continue;
        m_Candidates.push_back(
            {static_cast<int64_t>(unit->GetTaskID()), CalcExpectedDamage(*unit), row->m_CostLeadership, false});
    }
}

int64_t SeqZorInvMain::PickCandidate(int32_t budget) const
{
    // In list order; only a strictly higher value replaces, so the first of equals is kept.
    Candidate* best = nullptr;
    for (Candidate& c : m_Candidates)
    {
        if (!c.m_Taken && c.m_Leadership <= budget && (!best || c.m_Value > best->m_Value))
            best = &c;
    }
    if (!best)
        return 0;
    best->m_Taken = true;
    return best->m_TaskID;
}

int64_t SeqZorInvMain::FindBestReadyUnit(int32_t budget) const
{
    CollectCandidates();
    return PickCandidate(budget);
}

void SeqZorInvMain::AutoForm()
{
    ZorCore* core = Core();
    ZorUserData* s = State();
    if (!core || !s)
        return;
    // The enemy formation does not change while the slots are filled, so each unit's expected damage is
    // worked out once for the whole formation.
    CollectCandidates();
    for (int32_t slot = kSlots - 1; slot >= 0; --slot)
    {
        for (int32_t f = 0; f < kFormations; ++f)
        {
            ZorRoomState& formation = s->m_FieldFormations[f];
            if (formation.m_UnitEntityIDs[slot] != 0)
                continue;
            const int64_t unit = PickCandidate(s->GetPartyCapacity() - formation.m_TotalLerderShip);
            if (unit != 0)
                core->AddUnitToField(unit, f, slot);
        }
    }
    FieldChanged();
}

int32_t SeqZorInvMain::OnKeyDown(uint32_t key, uint32_t keyData)
{
    (void)keyData;
    ZorUserData* s = State();
    if (!IsDebugMode() || !s || s->m_GamePhase != 9)
        return 0;
    if (key == kVk0)
        Core()->InvasionDefeat();
    else if (key == kVk1)
        Core()->InvasionVictory();
    else
        return 0;
    UpdateWarButtons();
    return 0;
}

int32_t SeqZorInvMain::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqTransitBase::OnUIEvent1(sender, event) != 0)
        return 1;
    ZorCore* core = Core();
    ZorUserData* s = State();
    if (!sender || !core || !s)
        return 0;
    const std::wstring name = sender->GetTaskLocalName();
    const int32_t index = sender->GetTaskLocalIndex();
    GxTaskManage* manage = GetManager();
    if (name == L"btn_openthewar")
    {
        core->PlayVoice(45, 19, 1, 100);
        s->m_GamePhase = 10;
        UpdateWarButtons();
        if (GxTaskBase* field = manage ? manage->FindTaskByName(L"$UIFIELD:SeqZorInvMain") : nullptr)
            field->Suspend();
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDecide);
        return 1;
    }
    if (sender->HasKind(GX_TASKKIND_WIDGET) && name.rfind(L"btn_", 0) == 0)
        GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundPush);
    if (name == L"btn_cancelthewar")
    {
        if (auto* releaser =
                manage ? dynamic_cast<SeqZorInvReleaser*>(manage->FindTaskByName(L"SeqZorInvReleaser")) : nullptr)
            releaser->SetNextSequence(L"SeqZorCommand", 0);
        if (manage)
            manage->ChangeSequence(L"SeqZorInvReleaser", 0, 0);
        return 1;
    }
    if (name == L"btn_zorconfig")
    {
        if (manage)
            manage->ChangeSequence(L"SeqConfig", 0, 0);
        return 1;
    }
    if (name == L"btn_unitlist" && s->m_GamePhase == 9)
    {
        m_DraggedUnit = m_UnitList->GetEntryID(index);
        return 1;
    }
    if (name == L"btn_remove")
    {
        // The index comes from a layout row: anything past the ten slots would reach past the two
        // formations, so it is refused.
        if (index < 0 || index >= kFormations * kSlots)
        {
            GxLog::Error(L"index error:GetFieldUnitListPlayer\n");
            return 1;
        }
        const int32_t f = index / kSlots;
        const int32_t slot = index % kSlots;
        if (s->m_FieldFormations[f].m_UnitEntityIDs[slot] != 0)
            core->RemoveUnitFromField(f, slot);
        FieldChanged();
        return 1;
    }
    if (name == L"btn_removeall")
    {
        for (int32_t f = 0; f < kFormations; ++f)
            for (int32_t slot = 0; slot < kSlots; ++slot)
                if (s->m_FieldFormations[f].m_UnitEntityIDs[slot] != 0)
                    core->RemoveUnitFromField(f, slot);
        FieldChanged();
        return 1;
    }
    if (name == L"btn_autoform")
    {
        AutoForm();
        return 1;
    }
    static const struct
    {
        const wchar_t* name;
        int32_t tab;
    } s_Tabs[] = {{L"btn_unittab_all", 0},
                  {L"btn_unittab_ready", 1},
                  {L"btn_unittab_heroine", 2},
                  {L"btn_unittab_employment", 4}};
    for (const auto& tab : s_Tabs)
    {
        if (name == tab.name)
        {
            s->m_GameUnitTab_ZOR = tab.tab;
            ResetUnitList();
            return 1;
        }
    }
    return 0;
}
