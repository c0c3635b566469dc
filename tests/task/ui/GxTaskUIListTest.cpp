#include "WidgetTestSupport.h"

#include "../TaskSaveSupport.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIMenuIs.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUITextLogFx.h"

#include <gtest/gtest.h>

namespace
{
// A list box at (0, 0) with a 300 x 85 client area: five rows of 17 (font 1, 15 + 2).
GxTaskUIListBoxFx* List(WidgetTree& t, int items)
{
    auto* list = Place<GxTaskUIListBoxFx>(t.seq, L"list", 0.0f, 0.0f, 300, 85);
    list->SetVisibleRows(5);
    for (int i = 0; i < items; ++i)
        list->AddItem(L"row", L"", 0, (L"n" + std::to_wstring(i)).c_str(), i, L"");
    return list;
}
} // namespace

TEST(GxTaskUITextLogFx, TrimsScrollsAndCrossesOut)
{
    WidgetTree t;
    auto* log = new GxTaskUITextLogFx(t.seq);
    for (int i = 1; i <= 101; ++i)
        log->SetText(std::to_wstring(i).c_str());
    EXPECT_EQ(log->GetLineCount(), 100);
    EXPECT_EQ(log->GetLines().front().m_Text, L"2");
    log->ClearLines();
    auto* bar = new GxTaskUIHSliderIs(t.seq);
    log->SetScrollBar(bar);
    for (int i = 1; i <= 20; ++i)
        log->AddLine(L"line", L"", 0xFFFFFFFF);
    EXPECT_EQ(log->GetValueAsInt(), 4);
    EXPECT_EQ(bar->GetMax(), 19.0);
    EXPECT_EQ(bar->GetValue(), 4.0);
    log->SetMaxLine(0);
    log->TrimLines(0);
    EXPECT_EQ(log->GetLineCount(), 20) << "0 never trims";

    log->SetAutoCrossout(true);
    for (int i = 0; i < 187; ++i)
        t.Tick(16); // 2992 ms
    EXPECT_EQ(log->GetLineCount(), 20);
    t.Tick(16);
    EXPECT_EQ(log->GetLineCount(), 19);
}

TEST(GxTaskUITextLogFx, StoredScrollPositionIsKeptInsideTheLines)
{
    WidgetTree t;
    auto* a = new GxTaskUITextLogFx(t.seq);
    a->AddLine(L"one", L"", 0xFFFFFFFF);
    a->AddLine(L"two", L"★", 0xFF00FF00);
    a->SetValue(-30);
    const auto bytes = SaveRecord(ContentForm::Binary, [&](GxContentWriterBase* w) { return a->Save(w); });
    auto* b = new GxTaskUITextLogFx(t.seq);
    auto reader = OpenRecord(ContentForm::Binary, bytes);
    ASSERT_TRUE(b->Load(reader.get()));
    EXPECT_EQ(b->GetLineCount(), 2);
    EXPECT_EQ(b->GetLines().back().m_Icon, L"★");
    EXPECT_EQ(b->GetValue(), 0.0);
}

TEST(GxTaskUIListBoxFx, ScrollClampsAndTheWheelMovesOneRow)
{
    WidgetTree t;
    auto* list = List(t, 0);
    auto* slider = new GxTaskUIHSliderIs(t.seq);
    list->SetScrollWidget(slider);
    for (int i = 0; i < 12; ++i)
        list->AddItem(L"row", L"", 0, L"", i, L"");
    EXPECT_EQ(slider->GetMax(), 7.0);
    for (auto [set, got] : {std::pair{10, 7}, {-1, 0}, {3, 3}})
    {
        list->SetValue(set);
        EXPECT_EQ(list->GetValueAsInt(), got) << set;
    }
    const float p[2] = {10.0f, 10.0f};
    list->OnMouseWheel(p, -360, 0);
    EXPECT_EQ(list->GetValueAsInt(), 4) << "three notches, one row";
    list->OnMouseWheel(p, 120, 0);
    EXPECT_EQ(list->GetValueAsInt(), 3);
    EXPECT_EQ(slider->GetValue(), 3.0);
}

TEST(GxTaskUIListBoxFx, ClicksChooseEnabledRowsAndPostTheirIndex)
{
    WidgetTree t;
    auto* list = List(t, 3);
    list->GetItem(1)->m_Enabled = false;
    EXPECT_EQ(t.Press(10.0f, 5.0f), list);
    EXPECT_EQ(list->GetCurrentName(), L"n0");
    t.Press(10.0f, 20.0f);
    EXPECT_EQ(list->GetCurrentIndex(), -1) << "a disabled row clears the current one";
    EXPECT_EQ(list->GetRowTextColor(1), 0xFF806040u);
    t.Press(10.0f, 60.0f);
    EXPECT_EQ(list->GetCurrentValue(), -1) << "below the last item";
    EXPECT_EQ(t.Events(), L"18:list 18:list 18:list");
    EXPECT_EQ(t.seq->m_Values, (std::vector<int32_t>{0, -1, -1}));
    t.Move(10.0f, 20.0f);
    EXPECT_EQ(list->GetHoverIndex(), -1);
    EXPECT_EQ(list->GetItem(3), nullptr);
    list->AddColumn(100);
    list->AddColumn(60);
    EXPECT_EQ(list->GetSubItemOffset(0), 100);
    EXPECT_EQ(list->GetSubItemOffset(1), 160);
    EXPECT_EQ(GxTaskUIListBoxFx::BitmapLineOffset(15, 30), -6) << "a tall bitmap font moves up";
}

TEST(GxTaskUIMenuIs, LinesHeightsInputAndClearing)
{
    WidgetTree t;
    auto* menu = Place<GxTaskUIMenuIs>(t.seq, L"menu", 0.0f, 0.0f, 200, 32);
    auto* text = new GxTaskUINull(t.seq);
    menu->SetTextWidget(text);
    menu->AddItem(L"一", L"one", 1, L"説明一");
    menu->AddItem(L"二", L"two", 2, L"説明二")->m_Enabled = false;
    menu->AddItem(L"三", L"three", 3, L"説明三");
    EXPECT_EQ(menu->GetHeight(), 160);
    t.Move(50.0f, 20.0f);
    EXPECT_EQ(menu->GetHoverIndex(), -1) << "the head line is outside";
    t.Move(50.0f, 40.0f);
    EXPECT_EQ(menu->GetHoverIndex(), 0);
    EXPECT_EQ(text->GetText(), L"説明一");
    EXPECT_EQ(t.Press(50.0f, 110.0f), menu);
    EXPECT_EQ(menu->GetCurrentName(), L"three");
    EXPECT_EQ(t.Events(), L"18:menu") << "no enter or leave, event 18 only";
    EXPECT_EQ(t.Press(50.0f, 70.0f), nullptr);
    EXPECT_EQ(menu->GetCurrentIndex(), -1);
    menu->AddColumn(120);
    menu->AddColumn(80);
    EXPECT_EQ(menu->GetSubItemOffset(1), 200);
    t.Press(50.0f, 40.0f);
    menu->ClearItems();
    EXPECT_EQ(menu->GetCurrentName(), L"");
    EXPECT_EQ(menu->GetCurrentValue(), -1);
    EXPECT_EQ(menu->GetHoverIndex(), -1);
}
