// The defence screen's windows in the running engine, built from the sample game's UI rows and driven
// by SDL events through the core's loop (ZorDefenceTest): clicks on the map and on the windows' buttons,
// list rows and cards, right clicks for the menu, pointer moves for the views.
#include "ZorWindowsTestSupport.h"

using namespace zortest;

TEST_F(ZorWindowsTest, PhasesCounterAndSystemButtonsFollowTheWindows)
{
    // What input cannot reach (a second menu over the first, a trap window with no room window, closes
    // of windows not open) is called directly.
    SeqZorMain& screen = *m_Screen;
    struct Case
    {
        const char* what;
        std::function<void()> act;
        int phase, count;
        bool save;
    } cases[] = {
        {"room", [&] { OpenRoom(); }, 1, 0, false},
        {"facility", [&] { ClickRoomButton(kBuildX); }, 2, 1, false},
        {"facility cancelled", [&] { Cancel(); }, 1, 0, false},
        {"summon from room", [&] { ClickSlotButton(0, 1); }, 3, 1, false},
        {"summon closed", [&] { Cancel(); }, 1, 0, false},
        {"room closed", [&] { ClickRoomButton(kOkX); }, 0, 0, true},
        {"menu", [&] { RightClickAt(kRX, kRZ, 1); }, 8, 1, true},
        {"second menu refused", [&] { screen.OpenMenu(300.0f, 300.0f); }, 8, 1, true},
        {"menu closed", [&] { Click(100, 300, SDL_BUTTON_RIGHT); }, 0, 0, true},
        {"menu closed again", [&] { screen.CloseMenu(); }, 0, 0, true},
        {"trap without room", [&] { screen.OpenTrapWindow(0); }, 4, 1, true},
        {"trap closed", [&] { Cancel(); }, 0, 0, true},
        {"stray close", [&] { screen.CloseStructWindow(); }, 0, 0, true},
    };
    for (const Case& c : cases)
    {
        c.act();
        EXPECT_EQ(Phase(), c.phase) << c.what;
        EXPECT_EQ(Count(), c.count) << c.what; // never negative: stray closes leave it at 0
        EXPECT_EQ(SaveEnabled(), c.save) << c.what;
    }
    // The modal window takes the counter's value as its priority; the room window is not modal.
    OpenRoom();
    GxSeqBase::SetOpenDialogCount(2);
    m_Screen->OpenStructWindow();
    EXPECT_EQ(dynamic_cast<GxTaskUIBase*>(m_Manage.FindTaskByName(L"$ZORSTRUCT:SeqZorMain"))->GetModalPriority(), 3);
    EXPECT_TRUE(Shown(L"$ZORROOM:SeqZorMain"));
}

TEST_F(ZorWindowsTest, NothingOpensOrClosesWhileTheUserDialogShows)
{
    // The dialog covers the room window's buttons, so the operations are called as other callers would;
    // a modal window's cancel button stands above it and is clicked.
    OpenRoom();
    m_System->m_Dialog->Resume();
    m_Screen->OpenStructWindow();
    m_Screen->CloseRoomWindow();
    EXPECT_EQ(Phase(), 1);
    EXPECT_FALSE(Shown(L"$ZORSTRUCT:SeqZorMain"));
    EXPECT_TRUE(Shown(L"$ZORROOM:SeqZorMain"));
    m_Screen->OpenSummonWindow(0);
    m_Screen->OpenTrapWindow(0);
    EXPECT_EQ(Count(), 0);
    m_System->m_Dialog->Suspend();
    ClickSlotButton(0, 0);
    m_System->m_Dialog->Resume();
    Cancel();
    EXPECT_EQ(Phase(), 3);
    EXPECT_EQ(Count(), 1);
    // The menu is the exception: it closes whatever shows.
    m_System->m_Dialog->Suspend();
    Cancel();
    ClickRoomButton(kOkX);
    RightClickAt(kRX, kRZ, 1);
    EXPECT_EQ(Phase(), 8);
    m_System->m_Dialog->Resume();
    Click(100, 300, SDL_BUTTON_RIGHT);
    EXPECT_EQ(Phase(), 0);
    EXPECT_EQ(Count(), 0);
}

// The end of a stage closes the user dialog whatever asked it, with the close sound, and then the window
// the phase names; the stage's opening leaves a dialog alone.
TEST_F(ZorWindowsTest, VictoryAndDefeatCloseAnyUserDialogWithTheCloseSound)
{
    const struct
    {
        const char* what;
        std::function<void()> end;
        const wchar_t* key;
        int phase;
        bool closed;
    } cases[] = {
        {"victory over a dismissal", [&] { m_Core->DefenceVictory(); }, L"DISPOSEUNIT", 6, true},
        {"defeat over a dismissal", [&] { m_Core->DefenceDefeat(); }, L"DISPOSEUNIT", 7, true},
        {"victory over another question", [&] { m_Core->DefenceVictory(); }, L"OTHER", 6, true},
        {"defeat over another question", [&] { m_Core->DefenceDefeat(); }, L"OTHER", 7, true},
        {"opening", [&] { m_Core->StartDefenceEffect(); }, L"OTHER", 5, false},
    };
    for (const auto& c : cases)
    {
        State().m_GamePhase = 0;
        OpenRoom();
        ASSERT_EQ(Phase(), 1) << c.what;
        m_System->OpenUserDialog(c.key, L"?", 3); // yes and no
        m_System->m_CloseSounds.clear();
        c.end();
        EXPECT_EQ(Phase(), c.phase) << c.what;
        EXPECT_EQ(m_System->m_Dialog->IsActive(), !c.closed) << c.what;
        EXPECT_EQ(m_System->m_CloseSounds, c.closed ? std::vector<bool>{true} : std::vector<bool>{}) << c.what;
        EXPECT_EQ(Count(), c.closed ? 0 : 1) << c.what;
        // With the question gone the room window closes too.
        EXPECT_EQ(Shown(L"$ZORROOM:SeqZorMain"), !c.closed) << c.what;
        m_System->CloseUserDialog(false);
        m_Screen->CloseRoomWindow();
    }
    // Nothing open: nothing is closed and the count stays at 0.
    State().m_GamePhase = 0;
    m_System->m_CloseSounds.clear();
    m_Core->DefenceVictory();
    EXPECT_TRUE(m_System->m_CloseSounds.empty());
    EXPECT_EQ(Count(), 0);
}

TEST_F(ZorWindowsTest, FacilityListFiltersColoursAndCosts)
{
    auto& st = State();
    st.GetStructState(3)->m_Enabled = 0;            // not offered at all
    g_DBZorStruct.GetRow(4)->m_RequireStructID = 9; // needs a facility not built
    st.GetStructState(5)->m_Limit = 3;
    st.GetStructState(5)->m_RoomConstructCount = 1; // the second of its kind
    st.GetStructState(6)->m_RoomConstructCount = 1; // limit 1 reached
    st.GetStructState(7)->m_Limit = 0;
    OpenRoom();
    ClickRoomButton(kBuildX);
    GxTaskUIListBoxFx* list = ListBox(L"$ZORSTRUCT:SeqZorMain", L"lbox_struct");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetColumnCount(), 6);
    EXPECT_EQ(list->GetColumn(0), 128);
    auto find = [list](int id) { return IndexOf(list, id) < 0 ? nullptr : list->GetItem(IndexOf(list, id)); };
    EXPECT_EQ(find(3), nullptr);
    // Table order, no sorting.
    for (int i = 1; i < list->GetItemCount(); ++i)
        EXPECT_LT(list->GetItem(i - 1)->m_Value, list->GetItem(i)->m_Value);
    // {id, reason, limit, red limit, cost factor}: red rows have a reason; the second of a kind costs twice.
    const std::tuple<int, const wchar_t*, const wchar_t*, bool, int> cases[] = {
        {2, L"※既に同じ施設が作られています", L"0/1", false, 1},
        {4, L"※必要な施設が足りません", L"0/1", false, 1},
        {5, L"ok", L"1/3", false, 2},
        {6, L"※建築数の上限です", L"1/1", true, 2},
        {7, L"ok", L"-/-", false, 1}};
    for (auto [id, reason, limit, redLimit, k] : cases)
    {
        const GxUIListBoxItem* item = find(id);
        ASSERT_TRUE(item && item->m_SubItems.size() == 5u) << id;
        EXPECT_EQ(item->m_Name, reason) << id;
        EXPECT_EQ(item->m_Color, std::wstring(reason) == L"ok" ? 0xFFFFFFFFu : 0xFFFF0000u) << id;
        EXPECT_EQ(item->m_SubItems[1].m_BitmapText, limit) << id;
        EXPECT_EQ(item->m_SubItems[1].m_Color, redLimit ? 0xFFFF0000u : 0xFFFFFFFFu) << id;
        EXPECT_EQ(item->m_SubItems[2].m_BitmapText, GxString::Format(L"%4d", 100 * k)) << id;
        EXPECT_EQ(item->m_SubItems[3].m_BitmapText, GxString::Format(L"%4d", 50 * k)) << id;
        EXPECT_EQ(item->m_SubItems[4].m_BitmapText, GxString::Format(L"%5d", 200 * k)) << id;
    }
    // Gold short: the gold column alone turns red.
    Cancel();
    st.m_Resource_Gold = 300;
    ClickRoomButton(kBuildX);
    EXPECT_EQ(find(5)->m_SubItems[4].m_Color, 0xFFFF0000u);
    EXPECT_EQ(find(5)->m_SubItems[2].m_Color, 0xFFFFFFFFu);
    EXPECT_EQ(find(5)->m_Name, L"※資源か金が足りません");
}

TEST_F(ZorWindowsTest, SummonAndTrapListsHideWhatCannotBeHad)
{
    Unit(5, 2, 0, 100, 10, 1);
    g_DBZorUnit.GetRow(5)->m_RequireInveigleUnitID = 3; // companion missing: code 3
    Unit(6, 2, 0, 100, 10, 1);
    g_DBZorUnit.GetRow(6)->m_RequireStructID = 9; // facility rank too low: code 4
    g_DBZorUnit.GetRow(6)->m_RequireStructRank = 1;
    Unit(7, 4, 0, 100, 10, 500); // leadership short: code 2
    Unit(8, 20, 0, 30, 25, 0);
    g_DBZorUnit.GetRow(8)->m_Range = 2;
    g_DBZorUnit.GetRow(4)->m_Range = 1;
    for (int id : {5, 6, 7, 8})
        State().GetUnitState(id)->m_Enabled = 1;
    OpenRoom();
    ClickSlotButton(0, 0);
    GxTaskUIListBoxFx* summon = ListBox(L"$ZORSUMMON:SeqZorMain", L"lbox_summon");
    std::vector<int> ids;
    for (int i = 0; i < summon->GetItemCount(); ++i)
        ids.push_back(summon->GetItem(i)->m_Value);
    EXPECT_EQ(ids, (std::vector<int>{3, 7, 12})); // no trap, no code 3 or 4
    const GxUIListBoxItem* short7 = summon->GetItem(1);
    EXPECT_EQ(short7->m_Name, L"※統率不足です");
    EXPECT_EQ(short7->m_Color, 0xFFFF0000u);
    EXPECT_EQ(short7->m_SubItems[1].m_BitmapText, L"500");
    EXPECT_EQ(short7->m_SubItems[1].m_Color, 0xFFFF0000u);
    EXPECT_EQ(short7->m_SubItems[0].m_Color, 0xFF00FF00u); // class 4
    EXPECT_EQ(summon->GetItem(2)->m_SubItems[2].m_BitmapText, L"  10");
    Cancel();
    // A unique unit once summoned is gone; a plain one stays at the same cost.
    State().GetUnitState(3)->m_UnitCreateCount = 1;
    State().GetUnitState(12)->m_UnitCreateCount = 4;
    ClickSlotButton(0, 0);
    EXPECT_EQ(summon->GetItemCount(), 2);
    EXPECT_EQ(summon->GetItem(1)->m_SubItems[2].m_BitmapText, L"  10");
    Cancel();

    ClickSlotButton(1, 0);
    GxTaskUIListBoxFx* trap = ListBox(L"$ZORTRAP:SeqZorMain", L"lbox_trap");
    ASSERT_EQ(trap->GetItemCount(), 2);
    EXPECT_EQ(trap->GetItem(0)->m_SubItems[0].m_Text, L"一体");
    EXPECT_EQ(trap->GetItem(0)->m_SubItems[1].m_BitmapText, L" 40");
    EXPECT_EQ(trap->GetItem(1)->m_SubItems[0].m_Text, L"部屋");
    EXPECT_EQ(trap->GetColumn(1), 36);
}

TEST_F(ZorWindowsTest, ViewsShowTheChosenItemAndDecideTheRunButton)
{
    auto& st = State();
    g_DBZorStruct.GetRow(4)->m_RequireStructID = 9;
    g_DBZorStruct.GetRow(4)->m_Descript = L"説明4";
    g_DBZorStruct.GetRow(5)->m_Descript = L"説明5";
    g_DBZorStruct.GetRow(5)->m_Capacity = 3;
    OpenRoom();
    ClickRoomButton(kBuildX);
    ZorTaskItemWindowView* view =
        dynamic_cast<ZorTaskItemWindowView*>(m_Manage.FindTaskByName(L"$ZORSTRUCTWINDOWVIEW:SeqZorMain"));
    GxTaskUIBase* run = In(L"$ZORSTRUCT:SeqZorMain", L"btn_zorrun");
    EXPECT_EQ(view->GetText(),
              L"施設を選択してください|同じ施設は数が増えるほど資源を多く消費し、作成にも時間がかかります");
    EXPECT_FALSE(run->IsEnabled());
    GxTaskUIListBoxFx* list = ListBox(L"$ZORSTRUCT:SeqZorMain", L"lbox_struct");
    const int five = IndexOf(list, 5);
    ClickRow(IndexOf(list, 4));
    EXPECT_EQ(view->GetText(), L"説明4||※必要な施設が足りません");
    EXPECT_FALSE(run->IsEnabled());
    EXPECT_EQ(Phase(), 2); // nothing built
    // A buildable item is built at once: costs paid, window closed, back to the room window.
    const int bone = st.m_Resource_Bone;
    ClickRow(five);
    EXPECT_EQ(Room(kRX, kRZ)->m_StructID, 5);
    EXPECT_EQ(st.m_Resource_Bone, bone - 100);
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(Count(), 0);
    ClickRoomButton(kBuildX); // opened again: nothing chosen
    EXPECT_EQ(view->GetChosenID(), 0);
    Cancel();

    // The summon view: description only, and the skill lines under the name.
    Unit(7, 4, 0, 100, 10, 500);
    auto* row7 = g_DBZorUnit.GetRow(7);
    row7->m_Descript = L"説明7";
    row7->m_Skill[1] = 0;
    row7->m_Skill[3] = 2;
    row7->m_Skill[4] = 3;
    for (int id : {1, 2, 3})
        g_DBZorSkill.GetRow(id)->m_ShowName = GxString::Format(L"技%d", id);
    st.GetUnitState(7)->m_Enabled = 1;
    ClickSlotButton(0, 0);
    ZorTaskItemWindowView* summon =
        dynamic_cast<ZorTaskItemWindowView*>(m_Manage.FindTaskByName(L"$ZORSUMMONWINDOWVIEW:SeqZorMain"));
    ClickRow(1); // short of leadership: shown, not summoned
    EXPECT_EQ(summon->GetChosenID(), 7);
    EXPECT_EQ(Phase(), 3);
    EXPECT_EQ(summon->GetText(), L"説明7");
    EXPECT_FALSE(In(L"$ZORSUMMON:SeqZorMain", L"btn_zorrun")->IsEnabled());
    ZorViewDrawList lines;
    summon->Layout(lines);
    for (auto [text, y] : {std::pair{L"技1", 469.0f}, {L"技2", 484.0f}, {L"？？？", 499.0f}})
    {
        ASSERT_TRUE(lines.Find(Kind::GdiText, text)) << text;
        EXPECT_EQ(lines.Find(Kind::GdiText, text)->m_Y, y) << text;
    }
    EXPECT_FALSE(lines.Find(Kind::GdiText, L"技3"));
    // A selection made without an event is followed by the view's update; an index past the list is none.
    summon->ShowItem(99);
    EXPECT_EQ(summon->GetShownIndex(), -1);
}

TEST_F(ZorWindowsTest, MenuItemsFollowTheSlotAndItsPlaceAvoidsTheCards)
{
    Unit(4, 20, 0, 50, 40, 0);
    g_DBZorUnit.GetRow(4)->m_ShowName = L"毒矢";
    g_DBZorUnit.GetRow(12)->m_ShowName = L"骸骨";
    Place(kRX, kRZ, 0, 4);
    Room(3, 1)->m_StructID = 1; // locked, not dug
    ASSERT_EQ(State().GetRoomState(3, 1), 3);
    // {room x, z, slot, right click at x, y, items, menu at x, y (-1: any)}
    const std::tuple<int, int, int, float, float, const char*, float, float> cases[] = {
        {kRX, kRZ, 0, 800, 100, "00011", 612, 100}, // a trap: dispose, cancel; beside the trap's card
        {kRX, kRZ, 1, 950, 30, "11001", 896, 64},   // an empty slot of a dug room
        {kRX, kRZ, 3, 100, 540, "00001", -1, 507},  // past the capacity of 3
        {3, 1, 0, 100, 100, "00001", -1, -1}};      // an undug room
    for (auto [rx, rz, slot, px, py, items, mx, my] : cases)
    {
        RightClickAt(rx, rz, slot, px, py);
        ASSERT_EQ(Phase(), 8) << rx << " " << slot;
        EXPECT_EQ(MenuItems(), items) << rx << " " << slot;
        EXPECT_TRUE(mx < 0 || Menu()->GetPos().x == mx) << Menu()->GetPos().x;
        EXPECT_TRUE(my < 0 || Menu()->GetPos().y == my) << Menu()->GetPos().y;
        Click(100, 300, SDL_BUTTON_RIGHT);
    }

    // Dismissal questions from the room window: a trap is scrapped, a unit dismissed; a second question
    // waits for the first.
    Place(kRX, kRZ, 2, 12);
    OpenRoom();
    ClickSlotButton(3, 0);
    EXPECT_EQ(m_System->m_Message, L"毒矢を廃棄しますか？");
    ClickSlotButton(3, 2);
    EXPECT_EQ(m_System->m_Message, L"毒矢を廃棄しますか？");
    GxSeqBase::SetOpenDialogCount(0);
    m_System->m_Dialog->Suspend();
    ClickSlotButton(3, 2);
    EXPECT_EQ(m_System->m_Message, L"骸骨を解雇しますか？");
    EXPECT_EQ(m_System->GetUserDialogKey(), L"DISPOSEUNIT");
}

TEST_F(ZorWindowsTest, RoomWindowButtonsByCapacityAndOccupant)
{
    Place(kRX, kRZ, 0, 4);  // a trap
    Place(kRX, kRZ, 1, 12); // a unit
    OpenRoom();
    const wchar_t* names[4] = {L"btn_unitsummon", L"btn_trapcreate", L"btn_unitremove", L"btn_unitdispose"};
    // Per slot, '1' for each enabled button: trap, unit, empty, then two slots past the capacity of 3.
    const char* expect[5] = {"0001", "0011", "1100", "0000", "0000"};
    for (int i = 0; i < 5; ++i)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(In(L"$ZORROOM:SeqZorMain", names[b], i)->IsEnabled(), expect[i][b] == '1') << i << " " << b;
}

TEST_F(ZorWindowsTest, RoomViewRowsEffectsAndSigns)
{
    ZorTaskRoomWindowView* view = m_Screen->GetRoomView();
    // {dx, dy, row} of the slot rows; tip areas are half-open 32 x 16 rectangles.
    for (auto [dx, dy, row] :
         {std::array{10, 169, -1}, {10, 170, 0}, {10, 237, 1}, {4, 200, -1}, {355, 200, -1}, {354, 238, 1}})
        EXPECT_EQ(ZorTaskRoomWindowView::SlotRowAt(static_cast<float>(dx), static_cast<float>(dy)), row)
            << dx << " " << dy;
    for (auto [x, y, effect] : {std::array{276, 22, 1}, {307, 37, 1}, {308, 22, 0}, {316, 54, 6}})
        EXPECT_EQ(ZorTaskRoomWindowView::EffectAt(x, y), effect) << x << " " << y;

    ZorTaskUnitEntity* unit = Place(kRX, kRZ, 0, 12);
    for (int k : {0, 1, 2, 4})
        unit->m_RemainTime[k] = 10;
    OpenRoom();
    MoveTo(664 + 10, 170);
    EXPECT_EQ(view->GetHoveredSlot(), 0);
    ZorViewDrawList out;
    view->Layout(State(), out);
    EXPECT_EQ(out.Count(Kind::Icon, L"icon_na"), 2u); // capacity 3: rows 3 and 4 greyed
    EXPECT_EQ(out.Find(Kind::Icon, L"icon_na")->m_Y, 169.0f + 68.0f * 3 + 5.0f);
    EXPECT_EQ(out.Count(Kind::Icon, L"icon_roomeffect_01"), 1u);
    EXPECT_FALSE(out.Find(Kind::Bar, L"hbar_time_large_on"));
    EXPECT_TRUE(out.Find(Kind::Icon, L"icon_position")); // the hovered usable row is pointed at
    int signs = 0;
    for (const wchar_t* sign : {L"/", L"0", L"1", L"3"})
        signs += out.Find(Kind::FontText, sign) ? 1 : 0;
    EXPECT_EQ(signs, 3);
    EXPECT_EQ(out.Find(Kind::FontText, L"1")->m_Y, 169.0f + 6.0f + 32.0f);
    EXPECT_TRUE(out.Find(Kind::FontText, L"LV 1"));

    // Under construction: the build bar instead of the effects.
    Room(kRX, kRZ)->m_CreateTimeLeft = 30;
    Room(kRX, kRZ)->m_CreateTimeTotal = 120;
    view->Layout(State(), out);
    EXPECT_FALSE(out.Find(Kind::Icon, L"icon_roomeffect_01"));
    ASSERT_TRUE(out.Find(Kind::Bar, L"hbar_time_large_on"));
    EXPECT_DOUBLE_EQ(out.Find(Kind::Bar, L"hbar_time_large_on")->m_Ratio, 0.75);

    // A locked room shows facility 18.
    g_DBZorStruct.GetRow(18)->m_VisualImage = L"pic_locked";
    g_DBZorStruct.GetRow(18)->m_ShowName = L"未開拓";
    view->SetRoom(3, 1);
    view->Layout(State(), out);
    EXPECT_TRUE(out.Find(Kind::Icon, L"pic_locked"));
    EXPECT_EQ(out.Count(Kind::GdiText, L"未開拓"), 2u);
    view->SetRoom(2, 2); // below the dug floors: nothing
    view->Layout(State(), out);
    EXPECT_EQ(out.Size(), 0u);
}

TEST_F(ZorWindowsTest, LordViewNumbersAndHellMode)
{
    ZorViewDrawList out;
    State().m_Notoriety = 0;
    State().m_RemainEnemyLeft = 25;
    ZorTaskTimeView::Layout(State(), 100.0f, 200.0f, out);
    ASSERT_TRUE(out.Find(Kind::FontText, L" 25"));
    EXPECT_EQ(out.Find(Kind::FontText, L" 25")->m_X, 116.0f);
    EXPECT_FALSE(out.Find(Kind::FontText, L"HELL MODE"));
    State().m_Notoriety = 3;
    State().m_Resource_AstarosHP = 250;
    ZorTaskTimeView::Layout(State(), 100.0f, 200.0f, out);
    const auto* hell = out.Find(Kind::FontText, L"HELL MODE");
    ASSERT_TRUE(hell);
    EXPECT_TRUE(hell->m_X == 877.0f && hell->m_Y == 4.0f);
    State().m_Resource_AstarosHPMax = 0; // no maximum: an empty bar, not a division by zero
    ZorTaskTimeView::Layout(State(), 100.0f, 200.0f, out);
    EXPECT_DOUBLE_EQ(out.Find(Kind::Bar, L"hbar_unithp_large_on")->m_Ratio, 0.0);
}

TEST_F(ZorWindowsTest, UnitListScrollsFiltersAndEnablesItsButtons)
{
    ZorTaskUnitList* list = m_Screen->GetUnitList();
    GxTaskUIBase* slider = list->GetSlider();
    ASSERT_TRUE(slider);
    auto button = [this](const wchar_t* name, int i) { return Widget(name, i); };
    list->ResetScroll();
    EXPECT_EQ(slider->GetMax(), 0.0);
    for (int i = 0; i < 6; ++i) // no units: all twelve buttons off
        EXPECT_FALSE(button(L"btn_unitlist", i)->IsEnabled() || button(L"btn_unitdelete", i)->IsEnabled());

    std::vector<ZorTaskUnitEntity*> units;
    for (int i = 0; i < 8; ++i)
    {
        units.push_back(AddUnit(ZorCore::kUnitReadyList, 12, 1));
        units.back()->m_HP = units.back()->GetMaxHP();
    }
    list->UpdateScrollRange();
    EXPECT_EQ(slider->GetMax(), 7.0);
    slider->SetValue(2.0);
    list->Refresh();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list->GetEntryID(i), units[i + 2]->GetTaskID());

    // A unit being summoned: shown on tab 0 with only delete, absent from tab 1. A hurt unique unit: tabs
    // 0, 2 and 3.
    units[2]->m_CreateTimeLeft = 50;
    ZorTaskUnitEntity* hero = AddUnit(ZorCore::kUnitReadyList, 3, 1);
    hero->m_HP = 1;
    auto shownOn = [&](int tab, const ZorTaskUnitEntity* u)
    {
        Click(480 + 76 * tab + 36, 601); // the tab, which also scrolls back to the start
        EXPECT_EQ(State().m_GameUnitTab_ZOR, tab);
        bool shown = false;
        for (int from = 0; from <= static_cast<int>(slider->GetMax()); ++from)
        {
            slider->SetValue(from);
            list->Refresh();
            for (int i = 0; i < 6; ++i)
                shown = shown || list->GetEntryID(i) == u->GetTaskID();
        }
        return shown;
    };
    EXPECT_TRUE(shownOn(0, units[2]));
    EXPECT_FALSE(shownOn(1, units[2]));
    for (int tab = 0; tab < 4; ++tab)
        EXPECT_EQ(shownOn(tab, hero), tab != 1) << tab;
    Click(480 + 36, 601);
    EXPECT_EQ(list->GetEntryID(2), units[2]->GetTaskID());
    EXPECT_FALSE(button(L"btn_unitlist", 2)->IsEnabled());
    EXPECT_TRUE(button(L"btn_unitdelete", 2)->IsEnabled());
    EXPECT_TRUE(button(L"btn_unitlist", 1)->IsEnabled());

    // The pick-up button hands the card's unit to the drag; let go over the bar, it is dropped.
    Press(292 + 90, 639);
    EXPECT_EQ(m_Screen->GetDraggedUnit(), static_cast<int64_t>(units[1]->GetTaskID()));
    Release(292 + 90, 639);
    EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);
}

TEST_F(ZorWindowsTest, CardsOnlyInTheMenuPhaseForThreeActiveUnits)
{
    ZorTaskUnitInfo* info = m_Screen->GetUnitInfo();
    std::vector<ZorTaskUnitEntity*> units;
    for (int i = 0; i < 4; ++i)
        units.push_back(Place(kRX, kRZ, 4, 12)); // all four on the centre cell
    ZorTaskUnitEntity* enemy = AddUnit(ZorCore::kUnitEnemyList, 12, 1);
    enemy->m_HP = 10;
    enemy->m_DetailPosX = units[0]->m_DetailPosX;
    enemy->m_DetailPosY = units[0]->m_DetailPosY;
    units[1]->m_AppearTimeLeft = 5; // still appearing: no card
    PointAt(kRX, kRZ, 4);
    ASSERT_EQ(info->GetLineCount(), 4); // three settled player units, then the enemy
    EXPECT_EQ(info->GetUnitIDs().back(), enemy->GetTaskID());
    ZorTaskUnitEntity* cards[3] = {};
    EXPECT_EQ(info->CollectCards(cards), 0); // not in the menu phase
    Click(m_PointX, m_PointY, SDL_BUTTON_RIGHT);
    ASSERT_EQ(Phase(), 8);
    ASSERT_EQ(info->CollectCards(cards), 3);
    EXPECT_EQ(cards[0], units[0]);
    EXPECT_EQ(cards[1], units[2]);
    EXPECT_EQ(cards[2], units[3]);
    // The cursor on the bottom bar points at no block.
    MoveTo(m_PointX, 571);
    EXPECT_EQ(info->GetBlockX(), -1);
    EXPECT_EQ(info->CollectCards(cards), 0);
}

TEST_F(ZorWindowsDevice, BarsFillTheirShareOfTheWidth)
{
    ZorViewDrawList lord;
    State().m_Resource_AstarosHP = 250;
    ZorTaskTimeView::Layout(State(), 100.0f, 100.0f, lord);
    const PfGLTexture* frame = Frame([&] { lord.Draw(0.0f, 0.0f); });
    EXPECT_EQ(Run(frame, 125, 254, Green), 25); // the bar at (x0 + 25, y0 + 152)
    // The EXP bar of a card of the unit list: 20 of the 40 points of level 1.
    ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, 12, 1);
    unit->m_HP = unit->GetMaxHP();
    unit->m_Exp = 20;
    m_Screen->GetUnitList()->UpdateScrollRange();
    ZorViewDrawList cards;
    m_Screen->GetUnitList()->Layout(0.0f, 571.0f, cards);
    frame = Frame([&] { cards.Draw(0.0f, 0.0f); });
    EXPECT_EQ(Run(frame, 262, 571 + 133, Green), 40);
    EXPECT_EQ(Run(frame, 262, 571 + 110, Green), 100); // full HP
}

TEST_F(ZorWindowsDevice, CardsStandDownTheRightEdge)
{
    for (int i = 0; i < 4; ++i)
        Place(kRX, kRZ, 4, 12);
    PointAt(kRX, kRZ, 4);
    Click(m_PointX, m_PointY, SDL_BUTTON_RIGHT);
    ZorTaskUnitInfo* info = m_Screen->GetUnitInfo();
    const PfGLTexture* frame = Frame([&] { info->Draw(0, 0); });
    for (int n = 0; n < 3; ++n)
    {
        const int y = 4 + 184 * n + 2;
        EXPECT_EQ(Run(frame, 740, y, Blue), 280) << n;
        EXPECT_FALSE(Blue(KvTexel(frame, 739, static_cast<uint32_t>(y)))) << n;
    }
    EXPECT_FALSE(Blue(KvTexel(frame, 745, 4 + 184 * 3 + 2))); // no fourth card
}

TEST_F(ZorWindowsDevice, UnbuildableFacilitiesAreDrawnInRed)
{
    for (int id = 1; id <= 18; ++id)
        g_DBZorStruct.GetRow(id)->m_ShowName = GxString::Format(L"HHHH%d", id);
    g_DBZorStruct.GetRow(4)->m_RequireStructID = 9;
    OpenRoom();
    ClickRoomButton(kBuildX);
    GxTaskUIListBoxFx* list = ListBox(L"$ZORSTRUCT:SeqZorMain", L"lbox_struct");
    const int red = IndexOf(list, 4), white = IndexOf(list, 5);
    ASSERT_TRUE(red >= 0 && white >= 0);
    const PfGLTexture* frame = Frame([&] { list->Draw(0, 0); });
    const GxVector4 at = list->GetWorldPos();
    auto count = [&](int row, bool (*test)(uint32_t))
    {
        int n = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 120; ++x)
                n += test(KvTexel(frame, static_cast<uint32_t>(at.x) + x, static_cast<uint32_t>(at.y + 17 * row + y)));
        return n;
    };
    auto white_ = [](uint32_t argb) { return (argb & 0xFFFFFF) > 0xC0C0C0 && ((argb >> 8) & 0xFF) > 200; };
    EXPECT_GT(count(red, Red), 10);
    EXPECT_EQ(count(white, Red), 0);
    EXPECT_GT(count(white, +white_), 10);
}

TEST_F(ZorWindowsDevice, TheDraggedUnitsFaceFollowsThePointerAndIsCrossedOutWhereItCannotGo)
{
    DragTheFirstCardOverASlotAndTheBar();
}

// One rule for a carried unit: the map lights the block under the pointer, the face is drawn without
// the crossed-out sign, and letting go places the unit, all three or none of them. Room A takes three
// units (slots 0-2); the throne's facility takes none.
TEST_F(ZorWindowsDevice, TheLitBlockTheSignAndTheDropFollowOneRule)
{
    g_DBZorUnit.GetRow(12)->m_FaceIconImage = L"icon_goblin";
    const ZorTaskUnitEntity* taken = Place(kRX, kRZ, 1, 12);
    const int throneRX = State().m_ThroneRoomPosX, throneRZ = State().m_ThroneRoomPosY;
    ASSERT_EQ(Room(throneRX, throneRZ)->m_StructID, 17);
    g_DBZorStruct.GetRow(17)->m_Capacity = 0;
    auto* view = dynamic_cast<ZorTaskMapView*>(m_Manage.FindTaskByName(L"$ZORMAPVIEW:SeqZorMain"));
    ASSERT_NE(view, nullptr);
    const ZorCell centre{Room(kRX, kRZ)->m_MapRoom->m_CenterDX, Room(kRX, kRZ)->m_MapRoom->m_CenterDZ};
    struct Case
    {
        const char* what;
        int rx, rz, code; // a room and a step code from its centre (0-3 sides, 4 centre, 5-8 corners)
        bool takes;
    } cases[] = {
        {"the centre, slot 4, past the capacity", kRX, kRZ, 4, false},
        {"a corner, no slot", kRX, kRZ, 5, false},
        {"a full slot", kRX, kRZ, 1, false},
        {"slot 3, past the capacity", kRX, kRZ, 3, false},
        {"a room whose facility takes no unit", throneRX, throneRZ, 0, false},
        {"the passage beside the room", -1, -1, -1, false},
        {"a free slot", kRX, kRZ, 0, true},
    };
    // One unit carried again and again: a refused drop leaves it in the ready list, first in the list.
    ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, 12, 1);
    unit->m_HP = unit->GetMaxHP();
    m_Screen->GetUnitList()->UpdateScrollRange();
    Passes(1);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Press(292, 639); // the first card's pick-up button
        ASSERT_EQ(m_Screen->GetDraggedUnit(), static_cast<int64_t>(unit->GetTaskID()));
        if (c.rx < 0)
            PointAtCell(centre.x + 2, centre.z);
        else
            PointAt(c.rx, c.rz, c.code);
        const auto& items = view->GetDrawnItems();
        const bool lit = std::any_of(items.begin(), items.end(), [](const ZorTaskMapView::Item& it)
                                     { return it.m_Kind == ZorTaskMapView::kCursor01; });
        const PfGLTexture* frame = Frame([&] { m_Screen->Draw(2, 5); });
        const uint32_t face = KvTexel(frame, static_cast<uint32_t>(m_PointX - 16), static_cast<uint32_t>(m_PointY - 16));
        Release(m_PointX, m_PointY);
        const bool placed = unit->GetParent() == List(ZorCore::kUnitPlayerList);
        EXPECT_EQ(lit, c.takes);
        EXPECT_EQ(Green(face), c.takes) << std::hex << face;
        EXPECT_EQ(placed, c.takes);
        EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);
    }
    EXPECT_EQ(Room(kRX, kRZ)->m_UnitEntityIDs[1], static_cast<int64_t>(taken->GetTaskID()));
    EXPECT_EQ(Room(kRX, kRZ)->m_UnitEntityIDs[0], static_cast<int64_t>(unit->GetTaskID()));
    EXPECT_EQ(Room(throneRX, throneRZ)->m_UnitEntityIDs[0], 0);
}
