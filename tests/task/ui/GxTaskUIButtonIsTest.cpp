#include "WidgetTestSupport.h"

#include "appdata/DBUILayout.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"
#include "task/ui/GxTaskUIToggleButtonIs.h"

#include <gtest/gtest.h>

TEST(GxTaskUIButtonIs, PressPostsOneClickAndTheOnLookLastsOneUpdate)
{
    WidgetTree t;
    auto* b = Place<GxTaskUIButtonIs>(t.seq, L"btn", 100.0f, 100.0f, 80, 30);
    t.Move(120.0f, 110.0f);
    t.Move(121.0f, 110.0f);
    EXPECT_EQ(t.Press(120.0f, 110.0f), b);
    EXPECT_EQ(t.Release(120.0f, 110.0f), 0);
    EXPECT_EQ(t.Events(), L"7:btn 1:btn");
    t.Tick(16);
    EXPECT_EQ(b->GetImageIndex(), 1);
    t.Tick(16);
    EXPECT_EQ(b->GetImageIndex(), 2);
    t.Move(10.0f, 10.0f);
    t.Tick(16);
    t.Tick(16);
    EXPECT_EQ(b->GetImageIndex(), 0);
    EXPECT_EQ(t.Events(), L"8:btn");
}

TEST(GxTaskUIButtonIs, WithoutTheBlockFlagMovesAndPressesPassThrough)
{
    WidgetTree t;
    // The walk visits siblings in order: the first one is the one on top.
    auto* over = Place<GxTaskUIButtonIs>(t.seq, L"over", 0.0f, 0.0f, 100, 100);
    auto* under = Place<GxTaskUIButtonIs>(t.seq, L"under", 0.0f, 0.0f, 100, 100);
    over->SetEventBlock(false);
    EXPECT_NE(t.Move(50.0f, 50.0f), 0) << "the widget below takes it";
    EXPECT_EQ(t.Press(50.0f, 50.0f), under);
    EXPECT_EQ(t.Events(), L"7:over 7:under 1:over 1:under");
    under->SetEventBlock(false);
    EXPECT_EQ(t.Press(50.0f, 50.0f), nullptr);
}

TEST(GxTaskUIButtonIs, HelpTipShowsOncePerHover)
{
    for (int32_t helpTime : {500, -1})
    {
        WidgetTree t;
        auto* b = Place<GxTaskUIButtonIs>(t.seq, L"btn", 0.0f, 0.0f, 50, 50);
        b->SetDescript(L"ヘルプ");
        b->ApplyLayout(
            [&]
            {
                DBUILayoutData row;
                row.m_Visible = row.m_Enabled = 1;
                row.m_AutoHelpTime = helpTime;
                row.m_Descript = L"ヘルプ";
                return row;
            }());
        int shows = 0;
        auto rest = [&](int steps)
        {
            for (int i = 0; i < steps; ++i)
            {
                t.Tick(16);
                if (t.tip->IsVisible())
                {
                    ++shows;
                    EXPECT_EQ(t.tip->GetText(), L"ヘルプ");
                    t.tip->Hide();
                }
            }
        };
        t.Move(10.0f, 10.0f);
        rest(31);
        EXPECT_EQ(shows, 0) << "496 ms";
        rest(100);
        EXPECT_EQ(shows, helpTime == -1 ? 0 : 1);
        t.Move(200.0f, 200.0f);
        rest(2);
        t.Move(10.0f, 10.0f);
        rest(40);
        EXPECT_EQ(shows, helpTime == -1 ? 0 : 2);
    }
}

TEST(GxTaskUIToggleButtonIs, AutoToggleFlipsTheStateAndAnUnreportedPressIsNotTaken)
{
    WidgetTree t;
    auto* toggle = Place<GxTaskUIToggleButtonIs>(t.seq, L"tg", 0.0f, 0.0f, 40, 40);
    EXPECT_EQ(t.Press(5.0f, 5.0f), toggle);
    EXPECT_TRUE(toggle->GetValueAsBool());
    toggle->SetAutoToggleFlag(false);
    EXPECT_EQ(t.Press(5.0f, 5.0f), toggle);
    EXPECT_TRUE(toggle->GetValueAsBool()) << "the screen decides";
    EXPECT_EQ(t.Events(), L"1:tg 1:tg");
    toggle->SetAutoToggleFlag(true);
    toggle->DisableEventReport(1);
    EXPECT_EQ(t.Press(5.0f, 5.0f), nullptr);
    EXPECT_FALSE(toggle->GetValueAsBool());
    EXPECT_EQ(t.Events(), L"");
}

TEST(GxTaskUIRadioButtonIs, SelectScopesByParentAndGroup)
{
    WidgetTree t;
    auto* p1 = new GxTaskActor(t.seq);
    auto* p2 = new GxTaskActor(t.seq);
    auto* a = Place<GxTaskUIRadioButtonIs>(p1, L"a", 0.0f, 0.0f, 10, 10);
    auto* b = Place<GxTaskUIRadioButtonIs>(p1, L"b", 20.0f, 0.0f, 10, 10);
    auto* other = Place<GxTaskUIRadioButtonIs>(p1, L"c", 40.0f, 0.0f, 10, 10);
    auto* elsewhere = Place<GxTaskUIRadioButtonIs>(p2, L"d", 60.0f, 0.0f, 10, 10);
    other->SetGroupID(2);
    for (GxTaskUIBase* r : {a, other, elsewhere})
        r->SetValue(true);
    EXPECT_EQ(t.Press(25.0f, 5.0f), b);
    EXPECT_FALSE(a->GetValueAsBool());
    EXPECT_TRUE(b->GetValueAsBool());
    EXPECT_TRUE(other->GetValueAsBool());
    EXPECT_TRUE(elsewhere->GetValueAsBool());
    t.Press(25.0f, 5.0f);
    EXPECT_TRUE(b->GetValueAsBool()) << "pressing the one that is on keeps it on";
    EXPECT_EQ(b->ChooseLook(), 1);
}
