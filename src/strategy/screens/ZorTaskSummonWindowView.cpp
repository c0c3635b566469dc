#include "strategy/screens/ZorTaskSummonWindowView.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"

ZorTaskSummonWindowView::ZorTaskSummonWindowView(GxTaskBase* parent)
    : ZorTaskUnitWindowView(parent, L"$ZORSUMMONWINDOWVIEW:SeqZorMain")
{
}

ZorTaskSummonWindowView::~ZorTaskSummonWindowView() = default;

const wchar_t* ZorTaskSummonWindowView::EmptyText() const
{
    return L"対応した施設を建てることで召喚できるユニットの種類を増やせます";
}

void ZorTaskSummonWindowView::LayoutExtra(int32_t id, ZorViewDrawList& out) const
{
    const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(id));
    if (!row)
        return;
    int32_t n = 0;
    auto line = [&out, &n](const std::wstring& text)
    { out.GdiText(text, 170.0f, 469.0f + 15.0f * static_cast<float>(n++)); };
    auto skillName = [](int32_t skill)
    {
        const DBZorSkillData* s = g_DBZorSkill.GetRow(static_cast<uint32_t>(skill));
        return s ? s->m_ShowName : std::wstring();
    };
    line(skillName(row->m_Skill[0]));
    if (row->m_Skill[1] != 0)
        line(skillName(row->m_Skill[1]));
    if (row->m_Skill[3] != 0)
        line(skillName(row->m_Skill[3]));
    if (row->m_Skill[4] != 0)
        line(L"？？？");
}
