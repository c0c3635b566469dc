#include "WidgetTestSupport.h"

#include "appdata/DBUIModule.h"
#include "core/GxLog.h"
#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxTaskUITextPanelFx.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
using Glyphs = std::vector<std::pair<int32_t, int32_t>>;

Glyphs PanelGlyphs(const GxUITextLayout& layout, const std::wstring& text, int32_t clientWidth)
{
    Glyphs at;
    layout.ForEachPanelGlyph(text, L'|', 4, 2, clientWidth,
                             [&](wchar_t, int32_t x, int32_t y) {
                                 at.push_back({x, y});
                             });
    return at;
}
} // namespace

TEST(GxTaskUITextPanelFx, OneLineTextIsCentredAndBarBreaksLeftAligned)
{
    WidgetTree t;
    auto* panel = new GxTaskUITextPanelFx(t.seq);
    const GxUITextLayout& layout = panel->GetLayout();
    ASSERT_EQ(layout.m_TextFontSize, 23);
    // "aあ": 11 + 23 = 34 wide, centred in 200: (200 - 34) / 2 = 83 past the client left of 4.
    EXPECT_EQ(PanelGlyphs(layout, L"aあ", 200), (Glyphs{{87, 2}, {98, 2}}));
    EXPECT_EQ(PanelGlyphs(layout, L"a|あ", 200), (Glyphs{{4, 2}, {4, 25}}));
    panel->SetAutoAlign(0);
    EXPECT_EQ(PanelGlyphs(layout, L"aa", 200), (Glyphs{{4, 2}, {15, 2}}));
    // Wrapping once x + size reaches the client width: 3 x 23 + 23 >= 80.
    EXPECT_EQ(PanelGlyphs(layout, L"ああああ", 80), (Glyphs{{4, 2}, {27, 2}, {50, 2}, {4, 25}}));
}

TEST(GxTaskUITextPanelFx, FontIndexOutsideTheSixMapsIsLoggedAndKept)
{
    WidgetTree t;
    auto* panel = new GxTaskUITextPanelFx(t.seq);
    panel->SetTextFontIndex(1);
    const uint32_t errors = GxLog::GetErrorCount();
    for (int32_t bad : {-1, 6, 1000})
        panel->SetTextFontIndex(bad);
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 3);
    EXPECT_EQ(panel->GetLayout().m_TextFontIndex, 1);
    EXPECT_EQ(panel->GetLayout().m_TextFontSize, 15);
}

TEST(GxTaskUIPanelFx, PanelWithoutImageHasNoSizeAndPostsEnterAndLeaveOnce)
{
    WidgetTree t;
    auto* empty = new GxTaskUIPanelFx(t.seq, nullptr, L"empty", 0);
    DBUIModuleData row;
    row.m_Width = 300;
    row.m_Height = 200;
    empty->ApplyModule(row);
    EXPECT_TRUE(empty->GetImageName().empty());
    EXPECT_FALSE(empty->LoadImages());
    EXPECT_EQ(empty->GetWidth(), 0);
    t.Move(10.0f, 10.0f);
    EXPECT_EQ(t.Events(), L"") << "never hit";

    auto* p = Place<GxTaskUIPanelFx>(t.seq, L"p", 0.0f, 0.0f, 100, 100);
    for (float x : {10.0f, 20.0f, 30.0f})
    {
        t.Move(x, 10.0f);
        t.Tick(16);
    }
    t.Move(500.0f, 10.0f);
    t.Tick(16);
    t.Tick(16);
    EXPECT_EQ(t.Events(), L"7:p 8:p");
    t.Move(10.0f, 10.0f);
    GxSeqBase::SetInputLock(1);
    t.Move(500.0f, 10.0f);
    t.Tick(16);
    GxSeqBase::SetInputLock(0);
    EXPECT_EQ(t.Events(), L"7:p") << "no leave event while input is refused";
    EXPECT_EQ(p->GetHoverCount(), 0);
    EXPECT_EQ(t.Press(10.0f, 10.0f), p);
    p->DisableEventReport(1);
    EXPECT_EQ(t.Press(10.0f, 10.0f), nullptr) << "an unreported press is not taken";
}

TEST(GxTaskUITipHelpIs, SizedInWholeCellsAndKeptOnTheScreen)
{
    WidgetTree t;
    GxTaskUITipHelpIs* tip = t.tip;
    for (auto [font, w, h] : {std::tuple{0, 32, 32}, {1, 48, 32}})
    {
        tip->SetTextFontIndex(font);
        tip->SetText(L"a");
        EXPECT_EQ(tip->GetWidth(), w) << font;
        EXPECT_EQ(tip->GetHeight(), h) << font;
    }
    tip->SetText(L"a|b|c");
    int32_t widest = 0;
    EXPECT_EQ(tip->MeasureText(widest), 2);
    EXPECT_EQ(tip->GetHeight(), 64) << "((2 + 2) x 15 + 16 - 1) / 16 cells: one spare line";
    tip->SetText(L"a|");
    EXPECT_EQ(tip->MeasureText(widest), 0) << "a trailing break adds no row";

    tip->SetText(L"aaaaaaaaaaaa");
    ASSERT_EQ(tip->GetWidth(), 128);
    ASSERT_EQ(tip->GetHeight(), 32);
    // Near the right edge the box moves left by its width less 48, near the bottom up by its height plus
    // 48; then it is pushed back on the screen.
    for (auto [px, py, x, y] : {std::tuple{100.0f, 100.0f, 76.0f, 124.0f},
                                {950.0f, 100.0f, 846.0f, 124.0f},
                                {100.0f, 750.0f, 76.0f, 694.0f},
                                {5.0f, 760.0f, 0.0f, 704.0f},
                                {1020.0f, 10.0f, 896.0f, 34.0f}})
    {
        tip->SetTipPosition(px, py);
        EXPECT_EQ(tip->GetPos().x, x) << px;
        EXPECT_EQ(tip->GetPos().y, y) << py;
    }
}

TEST(GxTaskUITipHelpIs, EmptyTextHidesAndAMoveHidesWhileStillReachingOthers)
{
    WidgetTree t;
    t.sys->ShowHelpTip(L"説明", 100.0f, 100.0f);
    EXPECT_TRUE(t.tip->IsVisible());
    t.sys->ShowHelpTip(L"", 100.0f, 100.0f);
    EXPECT_FALSE(t.tip->IsVisible());

    Place<GxTaskUIPanelFx>(t.seq, L"p", 0.0f, 0.0f, 100, 100);
    t.sys->ShowHelpTip(L"説明", 10.0f, 10.0f);
    t.Move(20.0f, 20.0f);
    EXPECT_FALSE(t.tip->IsVisible());
    EXPECT_EQ(t.Events(), L"7:p");
}
