#include "strategy/screens/SeqZorMain.h"

#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSoundControl.h"
#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorStructState.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUnitState.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskRoomWindowView.h"
#include "strategy/screens/ZorTaskStructWindowView.h"
#include "strategy/screens/ZorTaskSummonWindowView.h"
#include "strategy/screens/ZorTaskTrapWindowView.h"
#include "strategy/screens/ZorTaskUnitInfo.h"
#include "strategy/screens/ZorTaskUnitList.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIMenuIs.h"
#include "task/ui/GxTaskUISliderIs.h"

// The contents of the defence screen's windows: the views, the list boxes' columns and sliders, the
// context menu's items, and the rows of the facility, summon and trap lists.

namespace
{

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
// Numbers are drawn with the bitmap digits, names with the list's font map.
constexpr int32_t kNumberFont = 1;

struct ListSpec
{
    const wchar_t* window;
    const wchar_t* list;
    int32_t widths[6];
};

const ListSpec s_Lists[3] = {
    {L"$ZORSTRUCT:SeqZorMain", L"lbox_struct", {128, 32, 32, 40, 40, 55}},
    {L"$ZORTRAP:SeqZorMain", L"lbox_trap", {124, 36, 32, 40, 40, 55}},
    {L"$ZORSUMMON:SeqZorMain", L"lbox_summon", {124, 38, 30, 40, 40, 55}},
};

GxUIListBoxItem NumberCell(const std::wstring& text, bool red)
{
    GxUIListBoxItem cell;
    cell.m_BitmapText = text;
    cell.m_BitmapFont = kNumberFont;
    cell.m_X = 2.0f;
    cell.m_Color = red ? kRed : kWhite;
    return cell;
}

// The bone, magic and gold columns every list ends with, red where the stock falls short.
void AddCostCells(GxUIListBoxItem& item, const ZorUserData& s, int32_t bone, int32_t magic, int32_t gold)
{
    item.m_SubItems.push_back(NumberCell(GxString::Format(L"%4d", bone), bone > s.m_Resource_Bone));
    item.m_SubItems.push_back(NumberCell(GxString::Format(L"%4d", magic), magic > s.m_Resource_Magic));
    item.m_SubItems.push_back(NumberCell(GxString::Format(L"%5d", gold), gold > s.m_Resource_Gold));
}

GxUIListBoxItem TextCell(const std::wstring& text, uint32_t colour)
{
    GxUIListBoxItem cell;
    cell.m_Text = text;
    cell.m_X = 2.0f;
    cell.m_Color = colour;
    return cell;
}

const wchar_t* StructReason(int32_t code)
{
    switch (code)
    {
    case 11:
    case 12:
        return L"ok";
    case 3:
        return L"※資源か金が足りません";
    case 4:
        return L"※必要な施設が足りません";
    case 5:
        return L"※仲間が足りません";
    case 6:
        return L"※建築数の上限です";
    case 8:
        return L"※既に同じ施設が作られています";
    case 9:
        return L"※現在選択中の部屋は施設固定です";
    default: // 0, 1, 2, 7, 10
        return L"※条件を満たしていません";
    }
}

const wchar_t* UnitReason(int32_t code)
{
    if (code >= 7)
        return L"ok";
    switch (code)
    {
    case 1:
        return L"※資源か金が足りません";
    case 2:
        return L"※統率不足です";
    case 3:
        return L"※仲間が足りません";
    case 4:
        return L"※必要な施設が足りません";
    default:
        return L"※条件を満たしていません";
    }
}

uint32_t ClassColour(int32_t unitClass)
{
    switch (unitClass)
    {
    case 1:
        return 0xFFFF8000;
    case 2:
        return 0xFF0080FF;
    case 3:
        return 0xFFAF00FF;
    case 4:
        return 0xFF00FF00;
    default:
        return kWhite;
    }
}

// A summon or trap list row: the unit's name, its ID as the value, and the reason it cannot be summoned
// (in red) or "ok".
GxUIListBoxItem UnitItem(const DBZorUnitData& row, int32_t id, int32_t code)
{
    GxUIListBoxItem item;
    item.m_Text = row.m_ShowName;
    item.m_Value = id;
    item.m_X = 2.0f;
    item.m_Name = UnitReason(code);
    if (item.m_Name != L"ok")
        item.m_Color = kRed;
    return item;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// [SECTION] window contents

void SeqZorMain::BuildWindowContents(GxTaskBase* ui)
{
    if (auto* menu = dynamic_cast<GxTaskUIMenuIs*>(GetFolder(L"$ZORMENU:SeqZorMain")))
    {
        menu->ClearItems();
        static const wchar_t* s_Items[5][2] = {{L"SUMMON", L"召喚"},
                                               {L"TRAP", L"罠設置"},
                                               {L"REMOVE", L"回収"},
                                               {L"DISPOSE", L"解雇/廃棄"},
                                               {L"CANCEL", L"キャンセル"}};
        for (int32_t i = 0; i < 5; ++i)
            menu->AddItem(s_Items[i][1], s_Items[i][0], i, L"");
    }
    for (const ListSpec& spec : s_Lists)
    {
        auto* list = dynamic_cast<GxTaskUIListBoxFx*>(GetWidget(spec.window, spec.list));
        GxTaskUIBase* slider = GetWidget(spec.window, L"vsld_selectitem");
        if (!list)
            continue;
        list->ClearColumns();
        for (int32_t w : spec.widths)
            list->AddColumn(w);
        list->SetScrollWidget(slider);
        if (auto* s = dynamic_cast<GxTaskUISliderIs*>(slider))
            s->SetLinkedWidget(list);
    }
    m_UnitInfo = new ZorTaskUnitInfo(ui);
    m_RoomView = new ZorTaskRoomWindowView(GetFolder(L"$ZORROOM:SeqZorMain"));
    new ZorTaskStructWindowView(GetFolder(L"$ZORSTRUCT:SeqZorMain"));
    new ZorTaskTrapWindowView(GetFolder(L"$ZORTRAP:SeqZorMain"));
    new ZorTaskSummonWindowView(GetFolder(L"$ZORSUMMON:SeqZorMain"));
    m_UnitList->SetSlider(GetWidget(L"$ZORBOTTOM1:SeqZorMain", L"hsld_unitlist"));
    m_UnitList->ResetScroll();
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] the three lists

void SeqZorMain::FillStructList(int32_t rx, int32_t rz)
{
    auto* list = dynamic_cast<GxTaskUIListBoxFx*>(GetWidget(L"$ZORSTRUCT:SeqZorMain", L"lbox_struct"));
    const ZorUserData* s = State();
    if (!list || !s)
        return;
    list->ClearItems();
    list->SetValue(0.0);
    const ZorRoomState* room = s->GetRoughRoom(rx, rz);
    const int32_t floor =
        room && room->m_MapRoom && room->m_MapRoom->m_Center ? room->m_MapRoom->m_Center->m_FloorLevel : 0;
    for (int32_t i = 0; i < g_DBZorStruct.GetCapacity(); ++i)
    {
        const DBZorStructData* row = g_DBZorStruct.GetRow(static_cast<uint32_t>(i));
        const ZorStructState* state = s->GetStructState(i);
        if (!row || !state)
            continue;
        int32_t dig = 0;
        const int32_t code = s->CheckStructBuild(i, rx, rz, dig);
        if (state->m_Enabled == 0)
            continue;
        GxUIListBoxItem item;
        item.m_Text = row->m_ShowName;
        item.m_Value = i;
        item.m_X = 2.0f;
        item.m_Name = StructReason(code);
        if (item.m_Name != L"ok")
            item.m_Color = kRed;
        const int32_t count = state->m_RoomConstructCount;
        const int32_t bone = (count + 1) * row->m_CostBone;
        const int32_t magic = (count + 1) * row->m_CostMagic;
        const int32_t gold = Core()->GetStructCostGold(i, dig, floor);
        item.m_SubItems.push_back(NumberCell(GxString::Format(L"%3d", row->m_Capacity), false));
        item.m_SubItems.push_back(
            NumberCell(state->m_Limit > 0 ? GxString::Format(L"%d/%d", count, state->m_Limit) : std::wstring(L"-/-"),
                       state->m_Limit > 0 && count >= state->m_Limit));
        AddCostCells(item, *s, bone, magic, gold);
        list->AddItem(item);
    }
}

void SeqZorMain::FillSummonList()
{
    auto* list = dynamic_cast<GxTaskUIListBoxFx*>(GetWidget(L"$ZORSUMMON:SeqZorMain", L"lbox_summon"));
    const ZorUserData* s = State();
    if (!list || !s)
        return;
    list->ClearItems();
    list->SetValue(0.0);
    const int32_t leadershipLeft = s->GetLeadershipMax() - s->m_Resource_LeadershipUsing;
    for (int32_t i = 0; i < g_DBZorUnit.GetCapacity(); ++i)
    {
        const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(i));
        const ZorUnitState* state = s->GetUnitState(i);
        if (!row || !state || state->m_Enabled == 0 || row->m_Class == ZorTaskUnitEntity::kTrapClass)
            continue;
        // A unique unit is summoned once.
        if (row->m_UniqueFlag != 0 && state->m_UnitCreateCount >= 1)
            continue;
        const int32_t code = s->CheckUnitSummon(i);
        // A missing companion or facility hides the unit instead of showing it in red.
        if (code == 3 || code == 4 || code == 5)
            continue;
        GxUIListBoxItem item = UnitItem(*row, i, code);
        const bool named = row->m_Class >= 1 && row->m_Class <= 20;
        item.m_SubItems.push_back(
            TextCell(named ? ZorGetUnitClassShortName(row->m_Class) : std::wstring(), ClassColour(row->m_Class)));
        item.m_SubItems.push_back(
            NumberCell(GxString::Format(L"%2d", row->m_CostLeadership), row->m_CostLeadership > leadershipLeft));
        AddCostCells(item, *s, row->m_CostBone, row->m_CostMagic, row->m_CostGold);
        list->AddItem(item);
    }
    list->SyncScrollWidget();
}

void SeqZorMain::FillTrapList()
{
    auto* list = dynamic_cast<GxTaskUIListBoxFx*>(GetWidget(L"$ZORTRAP:SeqZorMain", L"lbox_trap"));
    const ZorUserData* s = State();
    if (!list || !s)
        return;
    list->ClearItems();
    list->SetValue(0.0);
    for (int32_t i = 0; i < g_DBZorUnit.GetCapacity(); ++i)
    {
        const DBZorUnitData* row = g_DBZorUnit.GetRow(static_cast<uint32_t>(i));
        const ZorUnitState* state = s->GetUnitState(i);
        if (!row || !state || state->m_Enabled == 0 || row->m_Class != ZorTaskUnitEntity::kTrapClass)
            continue;
        const int32_t code = s->CheckUnitSummon(i);
        if (code == 3 || code == 4 || code == 5)
            continue;
        GxUIListBoxItem item = UnitItem(*row, i, code);
        item.m_SubItems.push_back(TextCell(row->m_Range == 1 ? L"一体" : L"部屋", kWhite));
        item.m_SubItems.push_back(NumberCell(GxString::Format(L"%3d", row->m_ATK), false));
        AddCostCells(item, *s, row->m_CostBone, row->m_CostMagic, row->m_CostGold);
        list->AddItem(item);
    }
    // Unlike the summon list, the trap list leaves its scroll bar as it is.
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] choosing an item

void SeqZorMain::ChooseListItem(int32_t phase)
{
    static const struct
    {
        const wchar_t* window;
        const wchar_t* list;
        const wchar_t* view;
    } s_Windows[3] = {
        {L"$ZORSTRUCT:SeqZorMain", L"lbox_struct", L"$ZORSTRUCTWINDOWVIEW:SeqZorMain"},
        {L"$ZORSUMMON:SeqZorMain", L"lbox_summon", L"$ZORSUMMONWINDOWVIEW:SeqZorMain"},
        {L"$ZORTRAP:SeqZorMain", L"lbox_trap", L"$ZORTRAPWINDOWVIEW:SeqZorMain"},
    };
    const auto& w = s_Windows[phase - 2];
    auto* list = dynamic_cast<GxTaskUIListBoxFx*>(GetWidget(w.window, w.list));
    GxTaskManage* manage = GetManager();
    auto* view = manage ? dynamic_cast<ZorTaskItemWindowView*>(manage->FindTaskByName(w.view)) : nullptr;
    GxTaskUIBase* run = GetWidget(w.window, L"btn_zorrun");
    if (!list || !view)
        return;
    view->ShowItem(list->GetCurrentIndex());
    if (!run || !run->IsEnabled())
        return;
    const int32_t rx = GetRoomWindowRX();
    const int32_t rz = GetRoomWindowRZ();
    if (phase == 2)
    {
        Core()->BuildStruct(view->GetChosenID(), rx, rz);
        UpdateRoomWindowButtons();
        CloseStructWindow();
    }
    else
    {
        Core()->SummonUnit(rx, rz, GetRoomWindowSlot(), view->GetChosenID());
        UpdateRoomWindowButtons();
        if (phase == 3)
            CloseSummonWindow();
        else
            CloseTrapWindow();
    }
    GxSoundControl::PlaySystemSound(GxSoundControl::kSystemSoundDecide);
}
