#include "WidgetTestSupport.h"

#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHBarIs.h"

#include <gtest/gtest.h>

namespace
{
GxTaskUIHBarIs* Gauge(WidgetTree& t)
{
    auto* bar = Place<GxTaskUIHBarIs>(t.seq, L"bar", 0.0f, 0.0f, 200, 20);
    bar->SetMax(100.0);
    return bar;
}
} // namespace

TEST(GxTaskUIHBarIs, FillIsTheIntegerPartOfTheRatioOfTheClientWidth)
{
    WidgetTree t;
    auto* bar = Gauge(t);
    for (auto [value, filled] : {std::pair{50.0, 100}, {100.0, 200}, {33.3, 66}, {150.0, 200}})
    {
        bar->SetValue(value);
        EXPECT_EQ(bar->GetFilledWidth(), filled) << value;
    }
    bar->SetMax(0.0);
    EXPECT_EQ(bar->GetFilledWidth(), 0) << "min = max is empty";
}

TEST(GxTaskUIHBarIs, ChangeValueGlidesFromTheValueShown)
{
    WidgetTree t;
    auto* bar = Gauge(t);
    bar->SetValue(20.0);
    bar->ChangeValue(80, 1000);
    for (int i = 0; i < 10; ++i)
        t.Tick(25);
    EXPECT_DOUBLE_EQ(bar->GetShownValue(), 35.0);
    EXPECT_TRUE(bar->IsChanging());
    // A new target mid-glide starts from the 35 on screen, not from a blend with the new target.
    bar->ChangeValue(35.0 + 100.0, 1000);
    EXPECT_DOUBLE_EQ(bar->GetShownValue(), 35.0);
    t.Tick(500);
    EXPECT_DOUBLE_EQ(bar->GetShownValue(), 67.5);
    t.Tick(500);
    EXPECT_EQ(bar->GetShownValue(), 100.0);
    EXPECT_FALSE(bar->IsChanging());
    bar->ChangeValue(10, 0);
    EXPECT_EQ(bar->GetShownValue(), 10.0);
    EXPECT_FALSE(bar->IsChanging());
}

TEST(GxTaskUIHBarIs, NeverTakesThePointerFromTheWidgetsBelow)
{
    WidgetTree t;
    auto* bar = Gauge(t);
    auto* below = Place<GxTaskUIButtonIs>(t.seq, L"below", 0.0f, 0.0f, 200, 20);
    EXPECT_EQ(t.Press(10.0f, 10.0f), below);
    t.Move(10.0f, 10.0f);
    EXPECT_EQ(t.Events(), L"1:bar 1:below 7:bar 7:below");
    (void)bar;
}
