#include "strategy/screens/ZorUnitCard.h"

#include "animation/GxNcIconPool.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorTaskUnitEntity.h"

namespace
{

constexpr int kFont8Num = 1;
constexpr int kFont16Cond = 5;
constexpr int32_t kTrapClass = 20;
constexpr uint32_t kGrey = 0xFF808080;

std::wstring SkillName(int32_t skillID)
{
    const DBZorSkillData* skill = g_DBZorSkill.GetRow(static_cast<uint32_t>(skillID));
    return skill ? skill->m_ShowName : std::wstring();
}

} // namespace

void ZorUnitCard::Layout(const ZorTaskUnitEntity& unit, Picture picture, std::vector<Element>& out)
{
    out.clear();
    static const DBZorUnitData s_None;
    const DBZorUnitData* found = g_DBZorUnit.GetRow(static_cast<uint32_t>(unit.m_UnitID));
    const DBZorUnitData& row = found ? *found : s_None;
    const bool player = unit.m_PlayerFlag != 0;
    const bool trap = row.m_Class == kTrapClass;
    auto add = [&out](Kind kind, std::wstring text, float x, float y, uint32_t colour = 0xFFFFFFFF) {
        out.push_back(Element{kind, std::move(text), x, y, colour});
    };
    add(Kind::Icon, L"tip_unitinfo_back", 0.0f, 0.0f);
    add(Kind::Icon, row.m_VisualImage, 2.0f, 13.0f, picture == Picture::Grey ? kGrey : 0xFFFFFFFF);
    add(Kind::Icon, L"tip_unitinfo_over", 0.0f, 0.0f);
    add(Kind::Icon, trap ? L"tip_unitinfo_trap" : player ? L"tip_unitinfo_player" : L"tip_unitinfo_enemy", 0.0f, 0.0f);
    add(Kind::NameText, row.m_ShowName, 88.0f, 19.0f);
    add(Kind::NameText, row.m_Class >= 1 && row.m_Class <= 20 ? ZorGetUnitClassName(row.m_Class) : std::wstring(),
        134.0f, 36.0f);
    add(Kind::NameText, player ? L"配下" : L"敵対", 216.0f, 36.0f);
    add(Kind::NumberText, GxString::Format(L"  %d", unit.m_Level), 104.0f, 50.0f);
    add(Kind::NumberText, GxString::Format(L"%4d/%4d", unit.m_HP, unit.GetMaxHP()), 104.0f, 78.0f);
    add(Kind::NumberText, GxString::Format(L" %3d", unit.GetAttack()), 104.0f, 92.0f);
    add(Kind::NumberText, GxString::Format(L"%3d%%", row.m_DefRate[0]), 236.0f, 50.0f);
    add(Kind::NumberText, GxString::Format(L"%3d%%", row.m_DefRate[1]), 236.0f, 64.0f);
    add(Kind::NumberText, GxString::Format(L"%3d%%", row.m_DefRate[2]), 236.0f, 78.0f);
    if (player && !trap)
        add(Kind::NumberText, GxString::Format(L"      %d", row.m_CostLeadership), 104.0f, 106.0f);
    if (!trap)
        add(Kind::NumberText, GxString::Format(L"%3d%%", row.m_DefRate[4]), 236.0f, 92.0f);
    if (!player)
        add(Kind::NumberText, GxString::Format(L"%3d%%", row.m_DefRate[3]), 236.0f, 106.0f);
    static const int s_SkillSlots[4] = {0, 1, 3, 4};
    static const float s_SkillPos[4][2] = {{88.0f, 128.0f}, {156.0f, 128.0f}, {88.0f, 142.0f}, {156.0f, 142.0f}};
    for (int i = 0; i < 4; ++i)
        add(Kind::NameText, SkillName(unit.m_Skills[s_SkillSlots[i]].m_SkillID), s_SkillPos[i][0], s_SkillPos[i][1]);
    std::wstring statuses;
    for (int i = 0; i < ZorUnitRecord::kStatuses; ++i)
    {
        // The condition font holds one small icon per status from '/' on.
        if (unit.m_RemainTime[i] > 0)
            statuses += static_cast<wchar_t>(0x2F + i);
    }
    add(Kind::StatusText, statuses, 180.0f, 15.0f);
}

void ZorUnitCard::Draw(const std::vector<Element>& elements, float x0, float y0)
{
    for (const Element& e : elements)
    {
        const float x = x0 + e.m_X;
        const float y = y0 + e.m_Y;
        switch (e.m_Kind)
        {
        case Kind::Icon:
            if (!e.m_Text.empty())
                GxNcIconPool::DrawString(e.m_Text, 1.0f, 1.0f, x, y, 0.0f, e.m_Colour);
            break;
        case Kind::NameText:
            if (!e.m_Text.empty())
                GxGraphics::DrawText(&g_GDIFontMaps[0], e.m_Text.c_str(), x, y, GxVector2(1.0f, 1.0f), e.m_Colour, 0,
                                     2);
            break;
        case Kind::NumberText:
        case Kind::StatusText:
            if (!e.m_Text.empty())
                GxGraphics::DrawFontText(e.m_Text.c_str(),
                                         &g_FontDataTable[e.m_Kind == Kind::NumberText ? kFont8Num : kFont16Cond], x, y,
                                         GxVector2(1.0f, 1.0f), GxVector3(), GxVector2(), e.m_Colour, 0, 2);
            break;
        }
    }
}
