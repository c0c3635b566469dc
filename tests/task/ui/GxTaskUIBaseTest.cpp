#include "WidgetTestSupport.h"

#include "../TaskSaveSupport.h"
#include "appdata/DBUILayout.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUINull.h"

#include <gtest/gtest.h>

TEST(GxTaskUIBase, ValuesTruncateTowardZero)
{
    WidgetTree t;
    auto* w = new GxTaskUINull(t.seq);
    for (auto [value, asInt, asBool] : {std::tuple{2.7, 2, true}, {-2.7, -2, true}, {0.5, 0, false}, {-0.5, 0, false}})
    {
        w->SetValue(value);
        EXPECT_EQ(w->GetValueAsInt(), asInt) << value;
        EXPECT_EQ(w->GetValueAsBool(), asBool) << value;
    }
    w->SetValue(true);
    EXPECT_EQ(w->GetValue(), 1.0);
}

TEST(GxTaskUIBase, InheritedStateWalksWidgetAncestorsOnly)
{
    WidgetTree t;
    auto* folder = new GxTaskActor(t.seq);
    auto* parent = new GxTaskUINull(folder);
    auto* child = new GxTaskUINull(parent);
    folder->Hide();
    EXPECT_TRUE(child->IsVisibleInTree()) << "a hidden actor that is no widget does not matter";
    parent->Hide();
    EXPECT_FALSE(child->IsVisibleInTree());
    parent->Show();
    parent->SetAlpha(128);
    child->SetAlpha(128);
    EXPECT_EQ(child->GetEffectiveAlpha(), 64);
    parent->SetModal(true);
    parent->SetModalPriority(3);
    EXPECT_EQ(child->GetEffectiveModalPriority(), 3);
    parent->SetTopMost(true);
    EXPECT_TRUE(child->IsTopMostInTree());
}

TEST(GxTaskUIBase, HitTestsAreHalfOpenAndCentringUsesTheParentOrTheScreen)
{
    WidgetTree t;
    auto* w = Place<GxTaskUINull>(t.seq, L"w", 100.0f, 50.0f, 200, 40);
    w->SetClientRect(10, 5, 180, 30);
    const GxVector4 o(100.0f, 50.0f, 0.0f, 0.0f);
    EXPECT_TRUE(w->HitTest(o, 100.0f, 50.0f));
    EXPECT_FALSE(w->HitTest(o, 300.0f, 60.0f));
    EXPECT_FALSE(w->HitTest(o, 150.0f, 90.0f));
    EXPECT_FALSE(w->HitTestClient(o, 105.0f, 60.0f));
    EXPECT_TRUE(w->HitTestClient(o, 110.0f, 55.0f));
    EXPECT_FALSE(w->HitTestClient(o, 290.0f, 60.0f));

    w->CenterHorizontally(0);
    w->CenterVertically(4);
    EXPECT_EQ(w->GetPos().x, 412.0f);
    EXPECT_EQ(w->GetPos().y, 368.0f);
    auto* inner = Place<GxTaskUINull>(w, L"inner", 0.0f, 0.0f, 51, 10);
    inner->CenterHorizontally(-1);
    EXPECT_EQ(inner->GetPos().x, 73.0f) << "(200 - 51) / 2 truncated, plus the offset";
}

TEST(GxTaskUIBase, EventsReachOnlyASequenceThatAcceptsThem)
{
    WidgetTree t;
    auto* w = new GxTaskUINull(t.seq, nullptr, L"w", 0);
    EXPECT_TRUE(w->PostUIEventCode(7));
    EXPECT_EQ(t.Events(), L"7:w");
    t.seq->SetAcceptUIEvent(false);
    EXPECT_FALSE(w->PostUIEventCode(7));
    EXPECT_EQ(t.seq->GetUIEventCount(), 0u);

    TaskTree bare;
    auto* lone = new GxTaskUINull(bare.root);
    EXPECT_FALSE(lone->PostUIEventCode(1)) << "no current sequence";
}

TEST(GxTaskUIBase, LayoutRowGoesThroughTheWidgetsOwnLimitsAndLeavesInputAlone)
{
    WidgetTree t;
    auto* slider = new GxTaskUIHSliderIs(t.seq);
    DBUILayoutData row;
    row.m_Visible = 0;
    row.m_Enabled = 1;
    row.m_Max = 50;
    row.m_Min = 10;
    row.m_Value = 80;
    row.m_Left = 12.0f;
    row.m_Top = 34.0f;
    row.m_OrderZ = 5.0f;
    row.m_Text = L"text";
    row.m_AutoHelpTime = 500;
    slider->ApplyLayout(row);
    EXPECT_EQ(slider->GetValue(), 50.0) << "the slider clamps the row's value to its new range";
    EXPECT_EQ(slider->GetMin(), 10.0);
    EXPECT_FALSE(slider->IsVisible());
    EXPECT_EQ(slider->GetText(), L"text");
    EXPECT_EQ(slider->GetPos().x, 12.0f);
    EXPECT_EQ(slider->GetOrderZ(), 5.0f);

    auto* button = Place<GxTaskUIButtonIs>(t.seq, L"b", 0.0f, 0.0f, 20, 20);
    t.Move(5.0f, 5.0f);
    ASSERT_EQ(button->GetHoverCount(), 1);
    button->ApplyLayout(row);
    EXPECT_EQ(button->GetHoverCount(), 1) << "no Hide and no input reset";
    button->Show();
    EXPECT_EQ(button->GetHoverCount(), 0);
}

TEST(GxTaskUIBase, RecordsRoundTripInBothFormsAndLoadClearsTheDrag)
{
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        WidgetTree t;
        auto* a = new GxTaskUINull(t.seq);
        a->SetValue(-2.5);
        a->SetMax(9.0);
        a->SetText(L"テキスト");
        a->SetDescript(L"説明");
        a->SetClientRect(1, 2, 3, 4);
        a->DisableEventReport(8);
        a->SetEventBlock(false);
        a->SetImageAlpha(77);
        const auto bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return a->Save(w); });
        auto* b = new GxTaskUINull(t.seq);
        auto reader = OpenRecord(form, bytes);
        ASSERT_TRUE(b->Load(reader.get()));
        EXPECT_EQ(b->GetValue(), -2.5);
        EXPECT_EQ(b->GetMax(), 9.0);
        EXPECT_EQ(b->GetText(), L"テキスト");
        EXPECT_EQ(b->GetDescript(), L"説明");
        EXPECT_EQ(b->GetClientHeight(), 4);
        EXPECT_FALSE(b->IsEventReported(8));
        EXPECT_FALSE(b->GetEventBlock());
        EXPECT_EQ(b->GetImageAlpha(), 77);
        EXPECT_FALSE(b->IsDragging());
    }
}
