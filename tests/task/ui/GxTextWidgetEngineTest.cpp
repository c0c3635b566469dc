// The text widgets in a running engine: a message window types a page with a ruby, a colour tag, shadows
// and a kinsoku break; left clicks pushed as SDL events reach the screen, which proceeds through the click
// waits as the adventure screen does; wheel events and clicks drive a list box and a menu.
#include "WidgetEngineTestSupport.h"

#include <algorithm>

namespace
{

// The screen's part of the message window: a click nobody above took proceeds the message.
class ClickSeq : public EventSeq
{
public:
    using EventSeq::EventSeq;
    int32_t OnMouseLeftDown(const float*, uint32_t, int32_t) override
    {
        if (!m_Message)
            return 0;
        m_Proceeded.push_back(m_Message->ProceedClick());
        return 1;
    }
    GxTaskUIMessageWindowFx* m_Message = nullptr;
    std::vector<bool> m_Proceeded;
};

// A message window of the second font without a frame picture, its client area at (10, 10) and the width
// given, typing text at (20, 300).
GxTaskUIMessageWindowFx* BuildMessage(GxTaskBase* parent, int32_t clientWidth, const wchar_t* text)
{
    DBUIModuleData module = ModuleRow(9, L"", 0, 0);
    module.m_ImageName.clear();
    module.m_FontIndex = 2;
    module.m_ClientLeft = 10;
    module.m_ClientTop = 10;
    module.m_ClientWidth = clientWidth;
    module.m_ClientHeight = 200;
    return static_cast<GxTaskUIMessageWindowFx*>(Build(parent, module, LayoutRow(L"mes", 20.0f, 300.0f, text)));
}

} // namespace

TEST_F(GxWidgetEngine, MessageWindowTypesPagesAndListsFollowTheWheel)
{
    PoolSet({WidgetPicture(L"m_head.png", 160, 32, 0xFF404080), WidgetPicture(L"m_body.png", 160, 32, 0xFF202040),
             WidgetPicture(L"m_foot.png", 160, 32, 0xFF404080)});
    std::vector<uint32_t> panel(300 * 85, 0xFF183018);
    ASSERT_TRUE(PfPngWriter::Write(m_Dir + "/list_bg.png", 300, 85, (const uint8_t*)panel.data()));
    GxTaskManage* manage = m_Core.m_TaskManage;
    GxTaskBase* root = new GxTaskBase(manage);
    auto* sys = new GxSeqSystemBase(root, L"SeqSystem");
    manage->SetSystemSequence(sys);
    auto* seq = new ClickSeq(root, L"SeqText");
    seq->SetAcceptUIEvent(true);
    GxSeqBase::ResetInputLocks();

    auto* message = BuildMessage(seq, 270, L"ああ≪漢字／かんじ≫%a(0xFF6060)赤い%a字%c%pあああああああああ。い");
    seq->m_Message = message;
    DBUIModuleData listModule = ModuleRow(50, L"list_bg", 0, 0);
    listModule.m_ImageSetName.clear();
    auto* list = static_cast<GxTaskUIListBoxFx*>(Build(seq, listModule, LayoutRow(L"list", 600.0f, 300.0f)));
    auto* menu =
        static_cast<GxTaskUIMenuIs*>(Build(seq, ModuleRow(40, L"m", 0, 0), LayoutRow(L"menu", 600.0f, 450.0f)));
    ASSERT_TRUE(message && list && menu);
    for (int i = 0; i < 12; ++i)
        list->AddItem((L"項目" + std::to_wstring(i)).c_str(), L"", 0, L"", i, L"");
    for (const wchar_t* entry : {L"はじめる", L"つづける", L"おわる"})
        menu->AddItem(entry, entry, 0, L"");

    manage->ChangeSequence(seq, 0, 0);
    Pass(16);
    ASSERT_EQ(list->GetVisibleRows(), 5) << "85 pixels of 17-pixel rows";
    ASSERT_EQ(menu->GetHeight(), 160);

    // Page 1 types at 60 ms a character up to its click wait.
    for (int i = 0; i < 40; ++i)
        Pass(16);
    ASSERT_TRUE(message->IsClickWaiting());
    EXPECT_EQ(message->GetShowCharCount(), 7);
    EXPECT_LE(Golden("message_ruby.png", 30, 310, 200, 40), 60u);
    m_Input.MouseTo(100, 330);
    m_Input.Press(100, 330);
    m_Input.Release(100, 330);
    for (int i = 0; i < 50; ++i)
        Pass(16);
    // Page 2: the closing "。" hangs on line 1, "い" starts line 2; the end waits for a click.
    ASSERT_TRUE(message->IsClickWaiting());
    EXPECT_EQ(message->GetShowCharCount(), 11);
    EXPECT_LE(Golden("message_kinsoku.png", 30, 310, 280, 80), 60u);
    m_Input.Press(100, 330);
    m_Input.Release(100, 330);
    Pass(16);
    EXPECT_EQ(seq->m_Proceeded, (std::vector<bool>{false, true}));

    // Three wheel notches down over the list, one row each; a click chooses visible row 2.
    m_Input.MouseTo(700, 320);
    for (int i = 0; i < 3; ++i)
        m_Input.Wheel(-1);
    Pass(16);
    EXPECT_EQ(list->GetValueAsInt(), 3);
    m_Input.Press(700, 300 + 2 * 17 + 5);
    m_Input.Release(700, 300 + 2 * 17 + 5);
    m_Input.MouseTo(650, 450 + 2 * 32 + 10);
    m_Input.Press(650, 450 + 2 * 32 + 10);
    m_Input.Release(650, 450 + 2 * 32 + 10);
    Pass(16);
    EXPECT_EQ(list->GetCurrentValue(), 5);
    EXPECT_EQ(menu->GetCurrentName(), L"つづける");
    EXPECT_EQ(menu->GetHoverIndex(), 1);
    // The list sends the chosen index, the menu the pointer's y; neither posts enter or leave.
    EXPECT_EQ(seq->m_Values, (std::vector<int32_t>{5, 524}));
    EXPECT_EQ(seq->m_Events, (std::vector<std::wstring>{L"18:list", L"18:menu"}));
    EXPECT_LE(Golden("list_menu.png", 600, 300, 300, 310), 200u);
}

// Characters typed for the first time: each frame that shows one writes its glyph into the page before the
// text is drawn from it, so the text stays one batch and the next frame, the same picture, is neither
// drawn again nor presented. The picture is the one a whole redraw gives.
TEST_F(GxWidgetEngine, NewGlyphsTypedDrawEachFrameInPartOnceAndMatchAWholeRedraw)
{
    GxTaskManage* manage = m_Core.m_TaskManage;
    GxTaskBase* root = new GxTaskBase(manage);
    auto* sys = new GxSeqSystemBase(root, L"SeqSystem");
    manage->SetSystemSequence(sys);
    auto* seq = new ClickSeq(root, L"SeqText");
    auto* message = BuildMessage(seq, 400, L"あいうえおかきくけこさしすせそたちつてと");
    ASSERT_NE(message, nullptr);
    manage->ChangeSequence(seq, 0, 0);
    Pass(16);
    Pass(16);
    PfGLDevice* device = GxGraphics::GetDevice();
    const size_t glyphs0 = g_GDIFontMaps[2].GetGlyphCount();
    const int32_t typed0 = message->GetShowCharCount();
    const uint64_t shown0 = device->GetPresentedFrameCount();
    const uint64_t partial0 = device->GetPartialFrameCount();
    for (int i = 0; i < 30; ++i)
        Pass(16);
    const int32_t typed = message->GetShowCharCount() - typed0;
    ASSERT_GE(typed, 4);
    ASSERT_GT(message->GetRemainCharCount(), 0u);
    EXPECT_EQ(g_GDIFontMaps[2].GetGlyphCount() - glyphs0, (size_t)typed) << "every character is new";
    EXPECT_EQ(device->GetPresentedFrameCount() - shown0, (uint64_t)typed);
    EXPECT_EQ(device->GetPartialFrameCount() - partial0, (uint64_t)typed) << "no frame drawn again for nothing";

    PfGLTexture* target = device->GetRenderTarget(0);
    ASSERT_TRUE(target && target->ReadBack() == D3D_OK);
    std::vector<uint32_t> typedPicture;
    for (uint32_t y = 300; y < 340; ++y)
        for (uint32_t x = 20; x < 420; ++x)
            typedPicture.push_back(KvTexel(target, x, y));
    // Typing held where it is, the same page drawn whole.
    manage->SetUpdateSuspended(true);
    GxGraphics::DiscardFrame();
    Pass(16);
    ASSERT_TRUE(target->ReadBack() == D3D_OK);
    std::vector<uint32_t> wholePicture;
    for (uint32_t y = 300; y < 340; ++y)
        for (uint32_t x = 20; x < 420; ++x)
            wholePicture.push_back(KvTexel(target, x, y));
    manage->SetUpdateSuspended(false);
    EXPECT_TRUE(typedPicture == wholePicture);
    EXPECT_TRUE(std::any_of(typedPicture.begin(), typedPicture.end(),
                            [&](uint32_t texel) { return texel != typedPicture.front(); }))
        << "the text shows";
}
