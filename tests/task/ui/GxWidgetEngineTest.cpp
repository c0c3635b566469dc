// The widget family in a running engine: the core's window and frame loop on the device, a sequence holding
// one widget of each kind built from module and layout rows, and SDL mouse and key events pushed into SDL's
// queue so they pass the event translator, the window procedure and the manager's walks. Frames are read
// back and compared with small golden pictures. Buttons stacked as on the title light one at a time under a
// travelling pointer, and the cursor rules follow the pointer's return and the screen-mode switch.
#include "WidgetEngineTestSupport.h"

TEST_F(GxWidgetEngine, PointerEventsDriveEveryWidgetThroughTheWindowProcedure)
{
    PoolSet({WidgetPicture(L"btn_off.png", 80, 30, 0xFF2040C0), WidgetPicture(L"btn_on.png", 80, 30, 0xFFC02020),
             WidgetPicture(L"btn_over.png", 80, 30, 0xFF20C040), WidgetPicture(L"tg_off.png", 30, 30, 0xFF606060),
             WidgetPicture(L"tg_on.png", 30, 30, 0xFFE0C020), WidgetPicture(L"tg_onover.png", 30, 30, 0xFFFFFF80),
             WidgetPicture(L"sl_off.png", 12, 24, 0xFFF0F0F0), WidgetPicture(L"sl_back.png", 200, 8, 0xFF808080),
             WidgetPicture(L"g_on.png", 200, 12, 0xFF30D030), WidgetPicture(L"g_back.png", 200, 12, 0xFF303030),
             TipFrame()});
    GxTaskManage* manage = m_Core.m_TaskManage;
    GxTaskBase* root = new GxTaskBase(manage);
    auto* sys = new GxSeqSystemBase(root, L"SeqSystem");
    auto* tip = new GxTaskUITipHelpIs(sys, L"tip_help");
    tip->ApplyModule(ModuleRow(45, L"tip", 0, 0));
    // The system sequence is walked but never entered: it loads its tip's frame itself.
    ASSERT_TRUE(tip->LoadImages());
    tip->Hide();
    manage->SetSystemSequence(sys);
    auto* seq = new EventSeq(root, L"SeqWidgets");
    seq->SetAcceptUIEvent(true);
    GxSeqBase::ResetInputLocks();

    DBUILayoutData buttonRow = LayoutRow(L"btn", 40.0f, 40.0f);
    buttonRow.m_AutoHelpTime = 500;
    buttonRow.m_Descript = L"ボタンの説明";
    auto* button = static_cast<GxTaskUIButtonIs*>(Build(seq, ModuleRow(18, L"btn", 0, 0), buttonRow));
    auto* toggle =
        static_cast<GxTaskUIToggleButtonIs*>(Build(seq, ModuleRow(19, L"tg", 0, 0), LayoutRow(L"tg", 40.0f, 100.0f)));
    auto* slider = static_cast<GxTaskUIHSliderIs*>(
        Build(seq, ModuleRow(30, L"sl", 200, 24, 8, 8), LayoutRow(L"sl", 40.0f, 160.0f, L"", 100)));
    DBUILayoutData barRow = LayoutRow(L"bar", 40.0f, 220.0f, L"", 100);
    barRow.m_Value = 20;
    auto* bar = static_cast<GxTaskUIHBarIs*>(Build(seq, ModuleRow(41, L"g", 0, 0), barRow));
    DBUIModuleData panelModule = ModuleRow(11, L"", 0, 0);
    panelModule.m_ClientWidth = 200;
    panelModule.m_ClientHeight = 60;
    panelModule.m_ImageName.clear();
    Build(seq, panelModule, LayoutRow(L"pnl", 300.0f, 40.0f, L"Panel"));
    ASSERT_TRUE(button && toggle && slider && bar);

    manage->ChangeSequence(seq, 0, 0);
    Pass(16);
    Pass(16);
    ASSERT_TRUE(manage->IsSequenceStarted());
    ASSERT_EQ(button->GetWidth(), 80) << "images loaded when the sequence was entered";

    // Hover, press, release and rest on the button: the tip comes once.
    m_Input.MouseTo(60, 50);
    Pass(16);
    EXPECT_EQ(button->GetImageIndex(), 2);
    m_Input.Press(60, 50);
    Pass(16);
    EXPECT_EQ(seq->m_Events, (std::vector<std::wstring>{L"7:btn", L"1:btn"}));
    EXPECT_EQ(button->GetImageIndex(), 1);
    EXPECT_LE(Golden("button_on.png", 40, 40, 80, 30), 0u);
    m_Input.Release(60, 50);
    Pass(16);
    EXPECT_LE(Golden("button_over.png", 40, 40, 80, 30), 0u);
    for (int i = 0; i < 32; ++i)
        Pass(16);
    EXPECT_TRUE(tip->IsVisible());
    EXPECT_EQ(tip->GetText(), L"ボタンの説明");
    EXPECT_LE(Golden("tip.png", 30, 60, 160, 64), 40u) << "glyphs may shift a pixel between rasterisers";

    // The toggle: a move hides the tip, a press turns it on; the move over it shows the on-hover look.
    m_Input.MouseTo(55, 115);
    Pass(16);
    EXPECT_FALSE(tip->IsVisible());
    m_Input.Press(55, 115);
    m_Input.Release(55, 115);
    Pass(16);
    EXPECT_TRUE(toggle->GetValueAsBool());
    EXPECT_LE(Golden("toggle.png", 40, 100, 30, 30), 0u);

    // The slider: a press at a quarter of the track, then a drag 40 pixels right.
    seq->m_Events.clear();
    m_Input.MouseTo(90, 172);
    Pass(16);
    m_Input.Press(90, 172);
    Pass(16);
    EXPECT_EQ(slider->GetValue(), 25.0);
    m_Input.MouseTo(130, 172);
    Pass(16);
    EXPECT_EQ(slider->GetValue(), 45.0);
    EXPECT_LE(Golden("slider_drag.png", 30, 160, 220, 24), 0u);
    m_Input.Release(130, 172);
    Pass(16);
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(seq->m_Events, (std::vector<std::wstring>{L"7:sl", L"8:tg", L"19:sl", L"19:sl"}));

    // The gauge glides from 20 to 80 over a second: 35 after 250 ms.
    bar->ChangeValue(80, 1000);
    for (int i = 0; i < 10; ++i)
        Pass(25);
    EXPECT_DOUBLE_EQ(bar->GetShownValue(), 35.0);
    EXPECT_LE(Golden("gauge_glide.png", 40, 220, 200, 12), 0u);
    EXPECT_LE(Golden("text_panel.png", 300, 40, 120, 30), 30u);

    // The wheel reaches no widget; keys reach none either, and F4 still switches the mode.
    seq->m_Events.clear();
    m_Input.Wheel(1);
    m_Input.Key(SDLK_a, true);
    m_Input.Key(SDLK_a, false);
    m_Input.Key(SDLK_F4, true);
    m_Input.Key(SDLK_F4, false);
    Pass(16);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, SCRMODE_FULLSCREEN);
    m_Input.Key(SDLK_F4, true);
    m_Input.Key(SDLK_F4, false);
    Pass(16);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, SCRMODE_WINDOW);
    EXPECT_TRUE(seq->m_Events.empty());
}

TEST_F(GxWidgetEngine, StackedButtonsLightOneAtATimeAsThePointerPasses)
{
    StackedButtonsLightOneAtATime();
}

TEST_F(GxWidgetEngine, ButtonsNeverAskTheDesktopWhereAPointerOffTheWindowWent)
{
    ButtonsLeaveTheDesktopAlone();
}

TEST_F(GxWidgetEngine, CursorRulesRunAgainWhenThePointerComesBackAndAfterAModeSwitch)
{
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    // Mode 2: an arrow in a window, hidden in full screen.
    ds.m_CursorMode = 2;
    SDL_ShowCursor(SDL_DISABLE);
    m_Input.Hover(true);
    Pass(16);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "the pointer's return shows the arrow in a window";
    // The window tells of its new size by an event of its own, taken by the next pass.
    m_Input.Tap(SDLK_F4);
    Pass(16);
    Pass(16);
    ASSERT_EQ(ds.m_ScreenMode, SCRMODE_FULLSCREEN);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "full screen hides it";
    m_Input.Tap(SDLK_F4);
    Pass(16);
    Pass(16);
    ASSERT_EQ(ds.m_ScreenMode, SCRMODE_WINDOW);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "back in the window it shows again";
}
