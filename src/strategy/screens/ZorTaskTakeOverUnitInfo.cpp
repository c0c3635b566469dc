#include "strategy/screens/ZorTaskTakeOverUnitInfo.h"

#include "animation/GxNcIconPool.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSoundControl.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIBase.h"

#include <algorithm>
#include <cmath>

namespace
{

int32_t LeadershipCost(const ZorTaskUnitEntity* unit)
{
    const DBZorUnitData* row = unit ? g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID)) : nullptr;
    return row ? row->m_CostLeadership : 0;
}

} // namespace

ZorTaskTakeOverUnitInfo::ZorTaskTakeOverUnitInfo(GxTaskBase* parent, const wchar_t* globalName)
    : GxTaskBase(parent, globalName)
{
}

ZorTaskTakeOverUnitInfo::~ZorTaskTakeOverUnitInfo() = default;

void ZorTaskTakeOverUnitInfo::OnSequenceEnter()
{
    m_RowOffset = 0;
}

void ZorTaskTakeOverUnitInfo::OnSequenceLeave()
{
    m_RowOffset = 0;
    m_Units.clear();
    m_Selected.clear();
}

void ZorTaskTakeOverUnitInfo::SetUnits(GxTaskBase* folder)
{
    m_Units.clear();
    for (GxTaskBase* child = folder ? folder->GetFirstChild() : nullptr; child; child = child->GetNextSibling())
    {
        if (auto* unit = dynamic_cast<ZorTaskUnitEntity*>(child))
            m_Units.push_back(unit);
    }
    m_Selected.assign(m_Units.size(), 0);
    m_SelectedCost = 0;
    if (m_Slider)
        m_Slider->SetMax(static_cast<double>(std::max(GetUnitCount() / kColumns - 1, 0)));
}

void ZorTaskTakeOverUnitInfo::CollectSelected(std::vector<ZorTaskUnitEntity*>& out) const
{
    for (size_t k = 0; k < m_Units.size(); ++k)
    {
        if (m_Selected[k] != 0)
            out.push_back(m_Units[k]);
    }
}

int32_t ZorTaskTakeOverUnitInfo::CellAt(float x, float y)
{
    for (int32_t i = 0; i < kCells; ++i)
    {
        const float left = CellLeft(i);
        const float top = CellTop(i);
        if (x >= left && x < left + kCellWidth && y >= top && y < top + kCellHeight)
            return i;
    }
    return -1;
}

int32_t ZorTaskTakeOverUnitInfo::UnitInCell(int32_t cell) const
{
    if (cell < 0 || cell >= kCells)
        return -1;
    const int32_t k = cell + kColumns * m_RowOffset;
    return k >= 0 && k < GetUnitCount() ? k : -1;
}

bool ZorTaskTakeOverUnitInfo::Toggle(int32_t k)
{
    if (k < 0 || k >= GetUnitCount())
        return false;
    const int32_t cost = LeadershipCost(m_Units[k]);
    if (m_Selected[k] == 0)
    {
        // A unit that would pass the capacity is simply refused, without a message.
        if (m_SelectedCost + cost > m_Capacity)
            return false;
        m_Selected[k] = 1;
        m_SelectedCost += cost;
    }
    else
    {
        m_Selected[k] = 0;
        m_SelectedCost -= cost;
    }
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDrop);
    return true;
}

int32_t ZorTaskTakeOverUnitInfo::OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl)
{
    (void)keys, (void)dbl;
    if (point)
        Toggle(UnitInCell(CellAt(point[0], point[1])));
    // Not consumed: the widgets over the grid see the press too.
    return 0;
}

int32_t ZorTaskTakeOverUnitInfo::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    AdvanceFrameCount();
    return 0;
}

int32_t ZorTaskTakeOverUnitInfo::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 10010.0f, 0);
    }
    return 0;
}

int32_t ZorTaskTakeOverUnitInfo::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    if (!m_Slider)
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    const float pulse = std::fabs(std::sin(static_cast<float>(GetFrameCount()) / 30.0f)) * 0.25f;
    const uint32_t level = static_cast<uint32_t>(pulse * 255.0f + 0.5f);
    const uint32_t added = 0xFF000000u | (level << 16) | (level << 8) | level;
    for (int32_t i = 0; i < kCells; ++i)
    {
        const int32_t k = UnitInCell(i);
        if (k < 0)
            continue;
        const bool selected = m_Selected[k] != 0;
        ZorUnitCard::Layout(*m_Units[k], selected ? ZorUnitCard::Picture::Normal : ZorUnitCard::Picture::Grey, m_Card);
        ZorUnitCard::Draw(m_Card, CellLeft(i), CellTop(i));
        if (selected)
            GxNcIconPool::Draw(L"icon_dominionflag", 0, 1.0f, 1.0f, CellLeft(i) + 8.0f, CellTop(i) + 104.0f, 0.0f,
                               0xFFFFFFFF, added);
    }
    GxGraphics::EndScene();
    return 0;
}
