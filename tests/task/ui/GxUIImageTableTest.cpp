#include "WidgetImageTestSupport.h"

#include "task/ui/GxTaskUIAnimePanelIs.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHBarIs.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUIPanelIs.h"
#include "task/ui/GxTaskUIToggleButtonIs.h"

#include <algorithm>

namespace
{
// The horizontal extent of a recorded quad.
float QuadWidth(const GxDrawRecorder::Primitive& p)
{
    float lo = 1e9f, hi = -1e9f;
    for (const GxVertex2D& v : p.m_Vertices)
    {
        lo = std::min(lo, v.x);
        hi = std::max(hi, v.x);
    }
    return hi - lo;
}
} // namespace

using GxUIImageTableTest = KvWidgetImageFixture;

TEST_F(GxUIImageTableTest, ModuleRowAndCombinedPathsNameTheSet)
{
    GxUIImageTable table;
    table.ApplyModule(Module(L"btn"));
    EXPECT_EQ(table.m_ImageSetName, L"uigis/ui_test.gis");
    EXPECT_EQ(table.m_ImageName, L"btn");
    for (auto [path, set, image] : {std::tuple{L"uigis/title/start", L"uigis/title.gis", L"start"},
                                    {L"a\\b\\", L"a\\b.gis", L""},
                                    {L"plain", L".gis", L"plain"}})
    {
        table.LoadImageSet(path);
        EXPECT_EQ(table.m_ImageSetName, set) << path;
        EXPECT_EQ(table.m_ImageName, image) << path;
    }
}

TEST_F(GxUIImageTableTest, ButtonLooksFallBackAndTakeTheirSizeFromTheOffImage)
{
    PoolSet({WidgetPicture(L"x_off.png", 60, 20, 0xFF0000FF), WidgetPicture(L"x_over.png", 60, 20, 0xFF00FF00),
             WidgetPicture(L"y_off.png", 30, 10, 0xFFFF0000)});
    WidgetTree t;
    auto* x = new GxTaskUIButtonIs(t.seq);
    x->ApplyModule(Module(L"x", 0, 0, 3));
    ASSERT_TRUE(x->LoadImages());
    const auto* images = x->GetImages().m_Images;
    EXPECT_EQ(images[1], Image(L"x_over.png")) << "pressed shows over";
    EXPECT_EQ(images[3], Image(L"x_off.png"));
    EXPECT_EQ(x->GetWidth(), 60);
    EXPECT_EQ(x->GetClientWidth(), 54);
    EXPECT_EQ(x->GetClientHeight(), 14);

    auto* y = new GxTaskUIButtonIs(t.seq);
    y->ApplyModule(Module(L"y", 100, 50));
    ASSERT_TRUE(y->LoadImages());
    EXPECT_EQ(y->GetImages().m_Images[1], nullptr);
    EXPECT_EQ(y->GetWidth(), 100) << "a row size stays";

    auto* missing = new GxTaskUIButtonIs(t.seq, nullptr, L"missing", 0);
    missing->ApplyModule(Module(L"none"));
    EXPECT_FALSE(missing->LoadImages());
    EXPECT_TRUE(Logged(L"GxTaskUIButtonIs/Image not found:none_off.png ["));
}

TEST_F(GxUIImageTableTest, ToggleFallbacksRunInTheirOrder)
{
    PoolSet({WidgetPicture(L"t_off.png", 20, 20, 0xFF0000FF), WidgetPicture(L"t_over.png", 20, 20, 0xFF00FF00),
             WidgetPicture(L"t_na.png", 20, 20, 0xFF808080)});
    WidgetTree t;
    auto* toggle = new GxTaskUIToggleButtonIs(t.seq);
    toggle->ApplyModule(Module(L"t"));
    ASSERT_TRUE(toggle->LoadImages());
    const auto* images = toggle->GetImages().m_Images;
    const GxNcOriginImage* expected[6] = {Image(L"t_off.png"), Image(L"t_over.png"), Image(L"t_off.png"),
                                          Image(L"t_na.png"),  Image(L"t_over.png"), Image(L"t_na.png")};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(images[i], expected[i]) << i;
}

TEST_F(GxUIImageTableTest, SliderKnobComesFromTheOffImageAndHalfAKnobBeyondTheEndsStillHits)
{
    PoolSet({WidgetPicture(L"s_off.png", 16, 24, 0xFFFFFFFF), WidgetPicture(L"s_back.png", 200, 20, 0xFF404040)});
    WidgetTree t;
    auto* s = new GxTaskUIHSliderIs(t.seq, nullptr, L"sl", 0);
    s->ApplyModule(Module(L"s"));
    s->SetPos(GxVector4(100.0f, 100.0f, 0.0f, 0.0f));
    ASSERT_TRUE(s->LoadImages());
    EXPECT_EQ(s->GetWidth(), 200);
    const GxVector4 o(100.0f, 100.0f, 0.0f, 0.0f);
    for (auto [x, hit] : {std::pair{92.0f, true}, {91.0f, false}, {308.0f, true}, {309.0f, false}})
        EXPECT_EQ(s->HitTestClient(o, x, 110.0f), hit) << x;
    EXPECT_TRUE(s->HitTestKnob(o, 108.0f, 110.0f));
    EXPECT_FALSE(s->HitTestKnob(o, 109.0f, 110.0f));
    EXPECT_EQ(t.Press(95.0f, 110.0f), s);
    EXPECT_EQ(t.Events(), L"") << "a press on the knob only starts a drag";
}

TEST_F(GxUIImageTableTest, AnimatedPanelFlipsEveryFourSteps)
{
    PoolSet({WidgetPicture(L"anim.png", 48, 16, 0xFFFFFF00, 3), WidgetPicture(L"still.png", 16, 16, 0xFFFFFF00)});
    WidgetTree t;
    auto* panel = new GxTaskUIAnimePanelIs(t.seq);
    panel->ApplyModule(Module(L"anim"));
    ASSERT_TRUE(panel->LoadImages());
    EXPECT_EQ(panel->GetPatternCount(), 3);
    std::vector<int32_t> seen;
    for (int i = 0; i < 9; ++i)
    {
        t.Tick(16);
        seen.push_back(panel->GetPatternIndex());
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 1, 1, 1, 2, 2, 2, 2, 0}));
    panel->SetFramesPerPattern(0);
    t.Tick(16);
    EXPECT_EQ(panel->GetPatternIndex(), 0);

    auto* still = new GxTaskUIAnimePanelIs(t.seq);
    still->ApplyModule(Module(L"still", 40, 40));
    ASSERT_TRUE(still->LoadImages());
    t.Tick(16);
    EXPECT_EQ(still->GetPatternIndex(), 0);
    EXPECT_EQ(still->GetWidth(), 40);
}

TEST_F(GxUIImageTableTest, GaugeDrawsTheBarCutAtTheFilledWidthAndThePanelKeepsItsRowSize)
{
    PoolSet({WidgetPicture(L"g_on.png", 200, 10, 0xFF00FF00), WidgetPicture(L"p.png", 30, 30, 0xFF00FF00)});
    WidgetTree t;
    auto* bar = new GxTaskUIHBarIs(t.seq);
    bar->ApplyModule(Module(L"g"));
    ASSERT_TRUE(bar->LoadImages());
    bar->SetMax(100.0);
    bar->SetValue(50.0);
    const auto quads = Record([&] { bar->Draw(0, 5); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(QuadWidth(quads[0]), 100.0f);

    auto* panel = new GxTaskUIPanelIs(t.seq);
    panel->ApplyModule(Module(L"p", 50, 0));
    ASSERT_TRUE(panel->LoadImages());
    EXPECT_EQ(panel->GetWidth(), 50);
    EXPECT_EQ(panel->GetHeight(), 30);
}

TEST_F(GxUIImageTableTest, TipFrameIsCutIntoSixteenPixelCells)
{
    PoolSet({WidgetPicture(L"tip.png", 48, 48, 0xFF202020)});
    WidgetTree t;
    t.tip->ApplyModule(Module(L"tip"));
    ASSERT_TRUE(t.tip->LoadImages());
    t.tip->SetTextFontIndex(1);
    t.tip->SetText(L"a");
    t.tip->Show();
    ASSERT_EQ(t.tip->GetWidth(), 48);
    ASSERT_EQ(t.tip->GetHeight(), 32);
    const auto quads = Record([&] { t.tip->Draw(0, 7); });
    // 3 x 2 frame cells from the set's page, then the glyph outlined (four passes) and drawn.
    ASSERT_EQ(quads.size(), 11u);
    for (size_t i = 0; i < 6; ++i)
    {
        EXPECT_FLOAT_EQ(QuadWidth(quads[i]), 16.0f);
        EXPECT_EQ(quads[i].m_pTexture, quads[0].m_pTexture);
    }
    EXPECT_NE(quads[6].m_pTexture, quads[0].m_pTexture);
}
