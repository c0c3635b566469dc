#include "WidgetTestSupport.h"

#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUINull.h"
#include "task/ui/GxTaskUIVSliderIs.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GxTaskUISliderIs, NewSliderClampsToZeroToHundred)
{
    WidgetTree t;
    auto* s = new GxTaskUIHSliderIs(t.seq);
    EXPECT_EQ(s->GetValue(), 0.0);
    for (auto [set, got] : {std::pair{150.0, 100.0}, {-3.0, 0.0}, {42.5, 42.5}, {NAN, 0.0}})
    {
        s->SetValue(set);
        EXPECT_EQ(s->GetValue(), got) << set;
    }
    s->SetValue(80.0);
    s->SetMax(60.0);
    EXPECT_EQ(s->GetValue(), 60.0);
}

TEST(GxTaskUISliderIs, TrackPressJumpsSlidesAndDragsFromThePressPoint)
{
    WidgetTree t;
    auto* s = Place<GxTaskUIHSliderIs>(t.seq, L"sl", 100.0f, 100.0f, 200, 20);
    auto* linked = new GxTaskUINull(t.seq);
    s->SetLinkedWidget(linked);
    t.Move(150.0f, 110.0f);
    EXPECT_EQ(t.Press(150.0f, 110.0f), s);
    EXPECT_EQ(s->GetValue(), 25.0);
    EXPECT_EQ(linked->GetValue(), 25.0);
    EXPECT_EQ(t.Events(), L"7:sl 19:sl");
    EXPECT_EQ(s->GetKnobPos(), 50.0f);
    t.Tick(16);
    EXPECT_EQ(s->GetShownKnobPos(), 0.0f) << "(100 / 100)^81 keeps it at the start";
    t.Tick(16);
    EXPECT_GT(s->GetShownKnobPos(), 20.0f);
    EXPECT_LT(s->GetShownKnobPos(), 50.0f);

    t.Move(160.0f, 110.0f);
    EXPECT_EQ(s->GetValue(), 30.0) << "10 pixels of 200 from the press point";
    t.Move(160.0f, 400.0f);
    t.Move(160.0f, 401.0f);
    t.Tick(16);
    EXPECT_TRUE(s->IsDragging());
    EXPECT_EQ(s->GetImageIndex(), 1);
    EXPECT_EQ(t.Events(), L"19:sl 19:sl 19:sl") << "every drag move, no leave while dragging";
    EXPECT_EQ(t.Release(160.0f, 401.0f), 0) << "the release is never taken";
    EXPECT_FALSE(s->IsDragging());
    for (int i = 0; i < 100; ++i)
        t.Tick(16);
    EXPECT_EQ(s->GetShownKnobPos(), s->GetKnobPos());
    EXPECT_EQ(t.Events(), L"8:sl");

    s->SetValue(70.0);
    EXPECT_EQ(linked->GetValue(), 30.0) << "code changes do not reach the linked widget";
}

TEST(GxTaskUISliderIs, VerticalSliderMeasuresFromTheTop)
{
    WidgetTree t;
    auto* s = Place<GxTaskUIVSliderIs>(t.seq, L"vs", 0.0f, 0.0f, 20, 400);
    s->SetMax(10.0);
    t.Press(10.0f, 300.0f);
    EXPECT_DOUBLE_EQ(s->GetValue(), 7.5);
    EXPECT_EQ(s->GetKnobPos(), 300.0f);
}

TEST(GxTaskUISliderIs, TrackWithoutLengthActsAsAnEmptyRange)
{
    WidgetTree t;
    auto* s = Place<GxTaskUIHSliderIs>(t.seq, L"sl", 0.0f, 0.0f, 0, 20);
    s->SetValue(40.0);
    EXPECT_EQ(s->PosToValue(0.0), 0.0);
    EXPECT_EQ(s->PosDeltaToValueDelta(10.0), 0.0);
    t.Press(0.0f, 5.0f);
    t.Move(30.0f, 5.0f);
    EXPECT_EQ(s->GetValue(), 40.0);
    s->SetMin(0.0);
    EXPECT_EQ(s->GetKnobPos(), 0.0f);
}
