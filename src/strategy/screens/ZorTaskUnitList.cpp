#include "strategy/screens/ZorTaskUnitList.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxString.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

namespace
{

std::wstring SkillName(int32_t skillID)
{
    const DBZorSkillData* skill = g_DBZorSkill.GetRow(static_cast<uint32_t>(skillID));
    return skill ? skill->m_ShowName : std::wstring();
}

} // namespace

ZorTaskUnitList::ZorTaskUnitList(GxTaskBase* parent) : GxTaskUIBase(parent, L"$ZORUNITLIST:SeqZorMain") {}

ZorTaskUnitList::~ZorTaskUnitList() = default;

int32_t ZorTaskUnitList::CurrentTab() const
{
    const ZorCore* core = ZorCore::GetInstance();
    return core ? core->GetUserData()->m_GameUnitTab_ZOR : 0;
}

GxTaskBase* ZorTaskUnitList::ReadyList() const
{
    GxTaskManage* manage = GetManager();
    return manage ? manage->FindTaskByName(ZorCore::kUnitReadyList) : nullptr;
}

bool ZorTaskUnitList::IsPlaceable(const ZorTaskUnitEntity& unit)
{
    return unit.m_ArrangeTimeLeft < 1 && unit.m_CreateTimeLeft < 1 && !unit.NeedsRecovery();
}

bool ZorTaskUnitList::MatchesTab(const ZorTaskUnitEntity& unit, int32_t tab)
{
    switch (tab)
    {
    case 1:
        return IsPlaceable(unit);
    case 2:
    {
        const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(unit.m_UnitID));
        return row && row->m_UniqueFlag != 0;
    }
    case 3:
        return unit.NeedsRecovery();
    default:
        return true;
    }
}

GxTaskUIBase* ZorTaskUnitList::CardButton(GxTaskFolder* bar, const wchar_t* name, int32_t index)
{
    if (!bar)
        return nullptr;
    if (auto* button = dynamic_cast<GxTaskUIBase*>(bar->FindTaskLocal(name, index)))
        return button;
    if (!m_MissingReported)
    {
        m_MissingReported = true;
        bar->GetTaskLocal(name, index); // the folder's own log line
    }
    return nullptr;
}

void ZorTaskUnitList::Refresh()
{
    for (uint64_t& e : m_Entries)
        e = 0;
    const int32_t tab = CurrentTab();
    int32_t k = m_Slider ? -m_Slider->GetValueAsInt() : 0;
    GxTaskBase* ready = ReadyList();
    for (GxTaskBase* t = ready ? ready->GetFirstChild() : nullptr; t && k < kCards; t = t->GetNextSibling())
    {
        auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
        if (!unit || unit->IsDead() || !MatchesTab(*unit, tab))
            continue;
        if (k >= 0)
            m_Entries[k] = unit->GetTaskID();
        ++k;
    }
    auto* bar = dynamic_cast<GxTaskFolder*>(GetParent());
    GxTaskManage* manage = GetManager();
    for (int32_t i = 0; i < kCards; ++i)
    {
        GxTaskUIBase* pick = CardButton(bar, L"btn_unitlist", i);
        GxTaskUIBase* remove = CardButton(bar, L"btn_unitdelete", i);
        auto* unit = m_Entries[i] != 0 && manage ? dynamic_cast<ZorTaskUnitEntity*>(manage->FindTaskByID(m_Entries[i]))
                                                 : nullptr;
        if (pick)
            pick->SetEnabled(unit && IsPlaceable(*unit));
        if (remove)
            remove->SetEnabled(unit != nullptr);
    }
}

void ZorTaskUnitList::UpdateScrollRange()
{
    const int32_t tab = CurrentTab();
    int32_t count = 0;
    GxTaskBase* ready = ReadyList();
    for (GxTaskBase* t = ready ? ready->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
    {
        auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
        count += unit && !unit->IsDead() && MatchesTab(*unit, tab) ? 1 : 0;
    }
    const double max = count > 1 ? static_cast<double>(count - 1) : 0.0;
    if (m_Slider && m_Slider->GetMax() != max)
        m_Slider->SetMax(max);
    Refresh();
}

void ZorTaskUnitList::ResetScroll()
{
    if (m_Slider)
        m_Slider->SetValue(0.0);
    UpdateScrollRange();
}

int32_t ZorTaskUnitList::Update(int32_t step, int64_t elapsed)
{
    GxTaskUIBase::Update(step, elapsed);
    Refresh();
    return 0;
}

int32_t ZorTaskUnitList::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 12001.0f, 0);
    }
    return 0;
}

void ZorTaskUnitList::Layout(float x0, float y0, ZorViewDrawList& out) const
{
    out.Clear();
    GxTaskManage* manage = GetManager();
    for (int32_t i = 0; i < kCards && manage; ++i)
    {
        auto* unit = m_Entries[i] != 0 ? dynamic_cast<ZorTaskUnitEntity*>(manage->FindTaskByID(m_Entries[i])) : nullptr;
        const DBZorUnitData* row = unit ? g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID)) : nullptr;
        if (!row)
            continue;
        const float x = x0 + 260.0f + 90.0f * static_cast<float>(i);
        out.Icon(row->m_FaceIconImage, x, y0 + 48.0f);
        if (unit->NeedsRecovery())
            out.Icon(L"icon_unitheal", x, y0 + 48.0f);
        out.FontText(GxString::Format(L"%d", row->m_CostLeadership), x + 2.0f, y0 + 90.0f, ZorViewDrawList::kFont8Num);
        const int32_t maxHP = unit->GetMaxHP();
        out.Icon(L"hbar_unithp_large_back", x + 1.0f, y0 + 107.0f);
        out.Bar(L"hbar_unithp_large_on", x + 2.0f, y0 + 107.0f,
                maxHP > 0 ? static_cast<double>(unit->m_HP) / maxHP : 0.0);
        out.GdiText(row->m_ShowName, row->m_ShowName.size() >= 8 ? x - 8.0f : x, y0 + 118.0f);
        // The experience needed for the next level is ((level x 5 + 5) x 8) / 2 = 20 x (level + 1); the
        // ratio is taken as a fraction (an integer quotient would show an empty bar until the level-up).
        const int32_t need = ((unit->m_Level * 5 + 5) * 8) / 2;
        const double exp = unit->m_Level >= row->m_LevelLimit || need <= 0
                               ? 0.0
                               : static_cast<double>(unit->m_Exp) / static_cast<double>(need);
        out.Icon(L"hbar_unitexp_back", x + 1.0f, y0 + 132.0f);
        out.Bar(L"hbar_unitexp_on", x + 2.0f, y0 + 132.0f, exp);
        out.FontText(GxString::Format(L"LV%2d", unit->m_Level), x, y0 + 129.0f, ZorViewDrawList::kFont16Sys);
        out.GdiText(SkillName(unit->m_Skills[3].m_SkillID), x, y0 + 144.0f);
        out.GdiText(SkillName(unit->m_Skills[4].m_SkillID), x, y0 + 156.0f);
    }
}

int32_t ZorTaskUnitList::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_Slider)
        return 0;
    const GxVector4 origin = GetWorldPos();
    Layout(origin.x, origin.y, m_DrawList);
    m_DrawList.DrawOverlay(0.0f, 0.0f);
    return 0;
}
