#include "strategy/screens/ZorTaskInvUnitList.h"

#include "animation/GxNcIconPool.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxString.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

namespace
{

constexpr int kFont16Ansi = 3; // the bitmap fonts' order at start-up
constexpr const wchar_t* kBottom = L"$ZORINVBOTTOM:SeqZorInvMain";

const DBZorUnitData* Row(const ZorTaskUnitEntity& unit)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unit.m_UnitID));
}

} // namespace

ZorTaskInvUnitList::ZorTaskInvUnitList(GxTaskBase* parent, const wchar_t* globalName) : GxTaskUIBase(parent, globalName)
{
    m_Card.reserve(16);
}

ZorTaskInvUnitList::~ZorTaskInvUnitList() = default;

// ---------------------------------------------------------------------------------------------------
// [SECTION] the tabs and the entries

bool ZorTaskInvUnitList::Matches(int32_t tab, const ZorTaskUnitEntity& unit, bool inReadyList)
{
    const DBZorUnitData* row = Row(unit);
    if (!row || unit.IsBeingRemoved() || row->m_Class == ZorTaskUnitEntity::kTrapClass)
        return false;
    switch (tab)
    {
    case 0:
        return true;
    case 1:
        return inReadyList && IsPickable(unit);
    case 2:
        return row->m_UniqueFlag != 0;
    case 4:
        return !inReadyList;
    default:
        return false;
    }
}

bool ZorTaskInvUnitList::IsPickable(const ZorTaskUnitEntity& unit)
{
    return unit.m_ArrangeTimeLeft < 1 && unit.m_CreateTimeLeft < 1 && !unit.NeedsRecovery();
}

template <typename F> void ZorTaskInvUnitList::ForEachUnit(F&& visit) const
{
    ZorCore* core = ZorCore::GetInstance();
    if (!core)
        return;
    const int32_t tab = core->GetUserData()->m_GameUnitTab_ZOR;
    // The reserve first, then the units employed in the dungeon (tab 1 reads only the reserve, tab 4
    // only the dungeon).
    for (const bool ready : {true, false})
    {
        if ((tab == 1 && !ready) || (tab == 4 && ready))
            continue;
        GxTaskBase* list = core->FindList(ready ? ZorCore::kUnitReadyList : ZorCore::kUnitPlayerList);
        for (GxTaskBase* t = list ? list->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
        {
            auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
            if (unit && Matches(tab, *unit, ready) && !visit(*unit))
                return;
        }
    }
}

GxTaskUIBase* ZorTaskInvUnitList::CardButton(int32_t index) const
{
    GxTaskManage* manage = GetManager();
    auto* bottom = manage ? dynamic_cast<GxTaskFolder*>(manage->FindTaskByName(kBottom)) : nullptr;
    return bottom ? dynamic_cast<GxTaskUIBase*>(bottom->FindTaskLocal(L"btn_unitlist", index)) : nullptr;
}

void ZorTaskInvUnitList::Refresh()
{
    for (int64_t& e : m_Entries)
        e = 0;
    int32_t k = m_Slider ? -m_Slider->GetValueAsInt() : 0;
    ForEachUnit(
        [&](ZorTaskUnitEntity& unit)
        {
            if (k >= 0 && k < kCards)
                m_Entries[k] = static_cast<int64_t>(unit.GetTaskID());
            return ++k < kCards;
        });
    ZorCore* core = ZorCore::GetInstance();
    for (int32_t i = 0; i < kCards; ++i)
    {
        if (GxTaskUIBase* button = CardButton(i))
        {
            const ZorTaskUnitEntity* unit = m_Entries[i] != 0 && core ? core->FindUnit(m_Entries[i]) : nullptr;
            button->SetEnabled(unit && IsPickable(*unit));
        }
    }
}

void ZorTaskInvUnitList::UpdateScrollRange()
{
    int32_t count = 0;
    ForEachUnit(
        [&](ZorTaskUnitEntity&)
        {
            ++count;
            return true;
        });
    const double max = count > 0 ? count - 1 : 0;
    if (m_Slider && m_Slider->GetMax() != max)
        m_Slider->SetMax(max);
    Refresh();
}

void ZorTaskInvUnitList::ResetScroll()
{
    if (m_Slider)
        m_Slider->SetValue(0);
    UpdateScrollRange();
}

int64_t ZorTaskInvUnitList::GetEntryID(int32_t index) const
{
    return index >= 0 && index < kCards ? m_Entries[index] : 0;
}

int32_t ZorTaskInvUnitList::Update(int32_t step, int64_t elapsed)
{
    GxTaskUIBase::Update(step, elapsed);
    Refresh();
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] the cards

void ZorTaskInvUnitList::LayoutCard(const ZorTaskUnitEntity& unit, int32_t index, std::vector<Element>& out)
{
    out.clear();
    const DBZorUnitData* row = Row(unit);
    if (!row)
        return;
    const float x = 80.0f + 90.0f * static_cast<float>(index);
    out.push_back({Element::Icon, row->m_FaceIconImage, x, 112.0f});
    if (unit.NeedsRecovery())
        out.push_back({Element::Icon, L"icon_unitheal", x, 112.0f});
    if (unit.m_DetailPosX >= 0)
        out.push_back({Element::Icon, L"icon_unitemployment", x, 112.0f});
    out.push_back({Element::AnsiText, GxString::Format(L"%d", row->m_CostLeadership), x + 2.0f, 154.0f});
    out.push_back({Element::Icon, L"hbar_unithp_large_back", x + 1.0f, 171.0f});
    const int32_t maxHP = unit.GetMaxHP();
    out.push_back({Element::Bar, L"hbar_unithp_large_on", x + 1.0f, 171.0f,
                   maxHP > 0 ? static_cast<double>(unit.m_HP) / maxHP : 0.0});
    // A long name starts a little to the left so it stays within the card.
    out.push_back({Element::NameText, row->m_ShowName, row->m_ShowName.size() >= 8 ? x - 8.0f : x, 182.0f});
    out.push_back({Element::Icon, L"hbar_unitexp_back", x + 1.0f, 196.0f});
    const int32_t expNeeded = ((unit.m_Level * 5 + 5) * 8) / 2;
    const double exp =
        unit.m_Level >= row->m_LevelLimit || expNeeded <= 0 ? 0.0 : static_cast<double>(unit.m_Exp) / expNeeded;
    out.push_back({Element::Bar, L"hbar_unitexp_on", x + 1.0f, 196.0f, exp});
    out.push_back({Element::AnsiText, GxString::Format(L"LV%2d", unit.m_Level), x, 193.0f});
    for (int32_t slot = 3; slot <= 4; ++slot)
    {
        const DBZorSkillData* skill = g_DBZorSkill.GetRow(static_cast<uint32_t>(unit.m_Skills[slot].m_SkillID));
        if (skill && !skill->m_ShowName.empty())
            out.push_back({Element::NameText, skill->m_ShowName, x, slot == 3 ? 208.0f : 220.0f});
    }
}

int32_t ZorTaskInvUnitList::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 14001.0f, 0);
    }
    return 0;
}

int32_t ZorTaskInvUnitList::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!m_Slider || !core)
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    const GxVector4 origin = GetWorldPos();
    for (int32_t i = 0; i < kCards; ++i)
    {
        // A unit gone since the last refresh leaves its card empty.
        const ZorTaskUnitEntity* unit = m_Entries[i] != 0 ? core->FindUnit(m_Entries[i]) : nullptr;
        if (!unit)
            continue;
        LayoutCard(*unit, i, m_Card);
        for (const Element& e : m_Card)
        {
            const float x = origin.x + e.m_X;
            const float y = origin.y + e.m_Y;
            switch (e.m_Kind)
            {
            case Element::Icon:
                if (!e.m_Text.empty())
                    GxNcIconPool::DrawString(e.m_Text, 1.0f, 1.0f, x, y, 0.0f, 0xFFFFFFFF);
                break;
            case Element::Bar:
                GxNcIconPool::DrawEx(e.m_Text.c_str(), x, y, 0.0f, 0, e.m_Ratio);
                break;
            case Element::AnsiText:
                GxGraphics::DrawFontText(e.m_Text.c_str(), &g_FontDataTable[kFont16Ansi], x, y, GxVector2(1.0f, 1.0f),
                                         GxVector3(), GxVector2(), 0xFFFFFFFF, 0, 2);
                break;
            case Element::NameText:
                if (!e.m_Text.empty())
                    GxGraphics::DrawText(&g_GDIFontMaps[0], e.m_Text.c_str(), x, y, GxVector2(1.0f, 1.0f), 0xFFFFFFFF,
                                         0, 2);
                break;
            }
        }
    }
    GxGraphics::EndScene();
    return 0;
}
