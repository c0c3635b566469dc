// The message, picture and character builtins run by the story script in the scene harness, with their
// edge cases, their "err:[Script=...]" lines and the mended faults (a script looping without a wait, a
// builtin inside a text block, a sub-layer past the count, a damaged picture, the name picture left on
// screen by hidden windows).
#include "AvgSceneHarness.h"

#include "adventure/GxMoaBuiltinEx.h"
#include "script/GxMoaEx.h"
#include "appdata/GxMessageLogElement.h"
#include "graphics/GxTextureFlex.h"
#include "task/GxSubLayerContent.h"
#include <cstdlib>

namespace
{

const std::vector<std::string> kMain = {
    "*MSGN",
    "@msgn(\"リリス\", \"やあ\")",
    "*EMPTY",
    "@msg()",
    "*BADTEXT",
    "@text(\"\")",
    "あ",
    "@msg(\"x\")",
    "*NOBG",
    "@bg()",
    "*MISSINGBG",
    "@bg(\"nothing\", 0)",
    "@msg(\"after\")",
    "*TIMEDBG",
    "@bg(\"room\")",
    "*KEEPBG",
    "@bg(\"room\", \"\", \"\", 0, 0, 0xFF0000, 1)",
    "@msg(\"kept\")",
    "*BROKENBG",
    "@bg(\"broken\", 0)",
    "@msg(\"壊れた背景\")",
    "*BROKENRULE",
    "@bg(\"room\", 500, \"broken\")",
    "@msg(\"壊れたルール\")",
    "*VOMSG",
    "@vo(\"lilith_0001\")",
    "@msg(\"声つき\")",
    "*VOMSGN",
    "@vo(\"zorde_0001\")",
    "@msgn(\"ゾルデ\", \"声\")",
    "*SUBPAST",
    "@sp.sub(\"リリス\", 5, \"smile\")",
    "*NOLAYER",
    "@sp.alpha(\"誰か\", 0)",
    "*EVENT",
    "@ev(\"ev01a.x.y\", 0, \"norule\")",
    "*EVENTCASE",
    "@ev(\"Ev01A\", 0)",
    "@msg(\"ev\")",
    "*ZOR",
    "@$n = zor_getnotoriety()",
    "@msg(\"zor\")",
    "*LOOP",
    "@goto(\"LOOP\")",
    "*WINDOW",
    "@msgn(\"リリス\", \"見える\")",
    "@msg.hide",
    "@wa.click",
    "@msg.show",
    "@wa.click",
    "@msg.clear",
    "@wa.click",
    "@msg.hide",
    "@msg(\"戻った\")",
    "*TINT",
    "@bg(\"room\", 0)",
    "@bg.color(0x0000FF)",
    "@wa.click",
    "@ev.color()",
    "@wa.click",
    "@bg.color(0)",
    "@wa.click",
    "@bg.color()",
    "@bg.act_move(100, -50, 500)",
    "@bg.wa",
    "@msg(\"着いた\")",
    "@ev.act_move()",
    "@ev.wa",
    "@msg(\"戻った\")",
    "*SHAKE",
    "@sp.shake(\"リリス\", 5000, 8, 4)",
    "@wa.time(200)",
    "@sp.shake_end(\"リリス\")",
    "@wa.click",
    "@sp.shake_end(\"誰か\")",
};
// Blocks that run to the end of their scripts.
const std::vector<std::string> kTextBlock = {"*TEXTBLOCK", "@text(\"リリス\")", "一行目", "二行目", "三行目"};
const std::vector<std::string> kStandBlock = {"*STANDBLOCK", "@stand(\"リリス\")", "normal", "smile"};
const std::vector<std::string> kVoicedText = {"*VOTEXT", "@text(\"リリス\", \"lilith_0002\")", "声の行"};
// Two pages: the first waits for a click ("%c"), then the page is cleared ("%p"); "%%p" is text.
const std::vector<std::string> kPagedText = {"*PAGES",       "@text(\"リリス\", \"lilith_0002\")",
                                             "一ページ目",   "%c%p二ページ目%%p",
                                             "@endtext",     "@msg(\"後\")"};
const std::vector<std::string> kBrokenStand = {"*BROKENSTAND", "@stand(\"リリス\")", "broken"};

// Answers goto (a default builtin) by jumping, so a script can loop without a wait.
class LoopingBuiltin : public GxMoaBuiltinEx
{
public:
    using GxMoaBuiltinEx::GxMoaBuiltinEx;
    bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript* script,
              GxMoaExecStack& stack, GxMoaVariable& result) override
    {
        if (index == 64)
            return worker->JumpToLabel(args.GetElement(0)->ToString());
        return GxMoaBuiltinEx::Call(name, index, args, worker, script, stack, result);
    }
};

class BuiltinScene : public AvgScene
{
protected:
    void SetUp() override
    {
        AvgScene::SetUp();
        // A background, rule and stand picture whose files end after their first 40 bytes.
        std::ifstream in(m_Game + "/cg/bg/room.png", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const char* broken : {"/cg/bg/broken.png", "/cg/tr/broken.png", "/cg/st/lilith/broken.png"})
            std::ofstream(m_Game + broken, std::ios::binary) << bytes.substr(0, 40);
        ASSERT_NO_FATAL_FAILURE(Start(kMain, {{"block.txt", kTextBlock},
                                              {"stand.txt", kStandBlock},
                                              {"voiced.txt", kVoicedText},
                                              {"brokenstand.txt", kBrokenStand},
                                              {"pages.txt", kPagedText}}));
    }
    // Starts another label on the running screen: the window emptied, the error stop cleared, one step.
    void Run(const wchar_t* label)
    {
        m_Screen->ClearMessage();
        g_MoaInstance->m_ErrorStop = 0;
        ASSERT_TRUE(g_MoaMainWorker->StartAtLabel(label));
        Steps(6); // the window's last typing pause runs out first
    }
    size_t Count(const std::wstring& text) const
    {
        const std::wstring log = ErrorLog();
        size_t n = 0;
        for (size_t at = log.find(text); at != std::wstring::npos; at = log.find(text, at + 1))
            ++n;
        return n;
    }
};

} // namespace

TEST_F(BuiltinScene, MsgnShowsTheSpeakerAndLogsIt)
{
    Enter(L"MSGN");
    Step();
    EXPECT_EQ(Window()->GetText(), L"やあ");
    // "cg/name/リリス.png" exists: the name window shows no text and the name picture.
    EXPECT_TRUE(m_Screen->GetNameWindow()->IsVisible());
    EXPECT_TRUE(Layer(L"$NAMEIMAGE:SeqAvgMain")->IsVisible());
    ASSERT_EQ(Data().m_MessageLog.size(), 1u);
    EXPECT_EQ(Data().m_MessageLog.back().m_Name, L"リリス");
}

TEST_F(BuiltinScene, MsgWithoutArgumentShowsAnEmptyMessageAndHidesTheName)
{
    Enter(L"EMPTY");
    Step();
    EXPECT_EQ(Window()->GetText(), L"");
    EXPECT_FALSE(m_Screen->GetNameWindow()->IsVisible());
    ASSERT_EQ(Data().m_MessageLog.size(), 1u);
    EXPECT_EQ(Data().m_MessageLog.back().m_Message, L"");
}

TEST_F(BuiltinScene, TextBlockJoinsItsLinesAndEndsWithTheScript)
{
    Enter(L"TEXTBLOCK");
    Step();
    EXPECT_EQ(Window()->GetText(), L"一行目%r二行目%r三行目");
    ASSERT_EQ(Data().m_MessageLog.size(), 1u);
    const GxMessageLogElement& entry = Data().m_MessageLog.back();
    EXPECT_TRUE(entry.m_IgnoreKinsoku && entry.m_DisenableAutoNewline);
    EXPECT_EQ(entry.m_Name, L"リリス");
}

TEST_F(BuiltinScene, TwoPageVoicedBlockWaitsAtThePageAndLogsEachPageWithItsSpeaker)
{
    ASSERT_NO_FATAL_FAILURE(StartSound());
    Enter(L"PAGES");
    Steps(60);
    EXPECT_TRUE(Window()->IsClickWaiting()); // the first page, typed out, waits
    EXPECT_EQ(Window()->GetShowCharCount(), 5);
    Click();
    Steps(60);
    EXPECT_EQ(Window()->GetShowCharCount(), 7); // a new page: "二ページ目%p"
    EXPECT_TRUE(GxSound::GetChannelState(8));  // the voice goes on over the page
    Click();
    Step();
    EXPECT_EQ(Window()->GetText(), L"後");
    ASSERT_EQ(Data().m_MessageLog.size(), 3u);
    const std::wstring pages[] = {L"一ページ目", L"二ページ目%%p"};
    for (int i = 0; i < 2; ++i)
    {
        const GxMessageLogElement& entry = Data().m_MessageLog[static_cast<size_t>(i)];
        EXPECT_EQ(entry.m_Name, L"リリス");
        EXPECT_EQ(entry.m_Message, pages[i]);
        EXPECT_EQ(entry.m_VoiceFileName[0], L"voices/lilith/lilith_0002.ogg");
        EXPECT_TRUE(entry.m_IgnoreKinsoku && entry.m_DisenableAutoNewline);
    }
}

TEST_F(BuiltinScene, BuiltinInsideATextBlockIsRefusedInsteadOfHanging)
{
    Enter(L"BADTEXT");
    Steps(3);
    EXPECT_EQ(Count(L"ENDTEXTに到達する前に処理できないトークンがあります"), 1u) << GxString::ToUtf8(ErrorLog());
    EXPECT_NE(ErrorLog().find(L"err:[Script=\"main\"/line=8] text:"), std::wstring::npos)
        << GxString::ToUtf8(ErrorLog());
    EXPECT_TRUE(Data().m_MessageLog.empty());
}

TEST_F(BuiltinScene, BackgroundEdgeCases)
{
    Enter(L"NOBG");
    Step();
    EXPECT_NE(ErrorLog().find(L"bg:画像ファイルを指定してください"), std::wstring::npos)
        << GxString::ToUtf8(ErrorLog());

    Run(L"MISSINGBG");
    EXPECT_EQ(Window()->GetText(), L"after"); // no error stop: the error picture is shown
    EXPECT_EQ(Layer(L"$BGLAYER:SeqAvgMain")->GetCurrentContent().m_ContentFileName, L"cg/bg/nothing.png");

    GxTaskLayer* lilith = m_Screen->FindStandLayer(L"リリス");
    lilith->SetImage(L"cg/st/lilith/normal.png", 0, L"cg/error.png");
    Run(L"KEEPBG");
    EXPECT_FALSE(m_Screen->IsBackgroundTransit());                               // time 0
    EXPECT_NE(lilith->GetCurrentContent().m_ContentType, GxLayerContent::kNone); // characters kept
    const GxVector4 c = Layer(L"$BGLAYER:SeqAvgMain")->GetColor0();
    EXPECT_FLOAT_EQ(c.x + c.y + c.z + c.w, 2.0f)
        << GxString::ToUtf8(ErrorLog()) << Window()->GetRemainCharCount(); // pure red, alpha 1

    Run(L"TIMEDBG");
    EXPECT_TRUE(m_Screen->IsBackgroundTransit()) << GxString::ToUtf8(ErrorLog());
    EXPECT_EQ(m_Screen->GetBackgroundTransit().m_TransitTimeTotal, 1000);
    EXPECT_EQ(lilith->GetCurrentContent().m_ContentType, GxLayerContent::kNone); // characters cleared
}

TEST_F(BuiltinScene, DamagedPicturesAreLoggedAndShowTheErrorPicture)
{
    // (label, damaged file as logged); a damaged rule lets the background dissolve like the blank rule.
    const std::pair<std::wstring, std::wstring> cases[] = {{L"BROKENBG", L"cg/bg/broken.png"},
                                                           {L"BROKENRULE", L"cg/tr/broken.png"},
                                                           {L"BROKENSTAND", L"cg/st/lilith/broken.png"}};
    Enter(L"EMPTY");
    for (const auto& [label, file] : cases)
    {
        SCOPED_TRACE(GxString::ToUtf8(label));
        Run(label.c_str());
        Draw();
        EXPECT_EQ(Count(file), 1u) << GxString::ToUtf8(ErrorLog());
        const bool rule = label == L"BROKENRULE";
        EXPECT_EQ(m_Screen->IsBackgroundTransit(), rule);
        GxTaskLayer* layer =
            label == L"BROKENSTAND" ? m_Screen->FindStandLayer(L"リリス") : Layer(L"$BGLAYER:SeqAvgMain");
        EXPECT_EQ(layer->m_ShowLabel, !rule); // the error picture, labelled with the damaged file's name
        EXPECT_GT(layer->GetCurrentContent().m_pImage->GetTileCountX(), 0u);
        m_Screen->EndBackgroundTransit();
    }
}

TEST_F(BuiltinScene, VoicesStartedBeforeAMessageGoWithItsLogEntryAndTheSecondPassIsRead)
{
    ASSERT_NO_FATAL_FAILURE(StartSound());
    struct Case
    {
        const wchar_t* label;
        const wchar_t* name;
        const wchar_t* voice;
    } cases[] = {{L"VOMSG", L"", L"voices/lilith/lilith_0001.ogg"},
                 {L"VOMSGN", L"ゾルデ", L"voices/zorde/zorde_0001.ogg"},
                 {L"VOTEXT", L"リリス", L"voices/lilith/lilith_0002.ogg"}};
    Enter(L"EMPTY");
    for (const Case& c : cases)
        for (const bool read : {false, true})
        {
            SCOPED_TRACE(GxString::ToUtf8(c.label) + (read ? " again" : ""));
            Run(c.label);
            EXPECT_EQ(Window()->IsReaded(), read);
            ASSERT_FALSE(Data().m_MessageLog.empty());
            const GxMessageLogElement& entry = Data().m_MessageLog.back();
            EXPECT_EQ(entry.m_Name, c.name);
            EXPECT_EQ(entry.m_VoiceFileName[0], c.voice);
            EXPECT_TRUE(GxSound::GetChannelState(8));
        }
}

TEST_F(BuiltinScene, StandBlockPlacesThePictureAndItsSubLayer)
{
    Enter(L"STANDBLOCK");
    Step();
    GxTaskLayer* lilith = m_Screen->FindStandLayer(L"リリス");
    EXPECT_EQ(lilith->GetCurrentContent().m_ContentFileName, L"cg/st/lilith/normal.png");
    EXPECT_FLOAT_EQ(lilith->GetPos().y, 768.0f - 600.0f); // on the bottom edge
    EXPECT_EQ(lilith->GetCurrentContent().GetSubLayer(0)->m_ContentFileName, L"cg/st/lilith/smile.png");
}

TEST_F(BuiltinScene, SubLayerPastTheCountAndUnknownLayersFail)
{
    Enter(L"SUBPAST");
    Step();
    EXPECT_EQ(Count(L"sp.sub:サブレイヤー[5]がありません"), 1u) << GxString::ToUtf8(ErrorLog());
    Run(L"NOLAYER");
    EXPECT_EQ(Count(L"sp.alpha:レイヤーが見つかりません。キャラ名[誰か]は未定義です"), 1u)
        << GxString::ToUtf8(ErrorLog());
}

TEST_F(BuiltinScene, AScriptLoopingWithoutAWaitIsCutOncePerStepAndReportedOnce)
{
    GxMoaBuiltinBase* dispatch = g_MoaBuiltin;
    LoopingBuiltin looping(m_Core.get());
    g_MoaBuiltin = &looping;
    Enter(L"LOOP");
    Steps(2);
    g_MoaBuiltin = dispatch;
    EXPECT_EQ(Count(L"命令を超えました"), 1u);
    EXPECT_TRUE(g_MoaMainWorker->IsRunning());
}

TEST_F(BuiltinScene, EventRecordsTheGalleryAndItsWidePictureBeforeAMissingRuleFails)
{
    Enter(L"EVENT");
    Step();
    EXPECT_EQ(Count(L"ev:トランジション画像ファイルが見つかりません[cg/tr/norule]"), 1u)
        << GxString::ToUtf8(ErrorLog());
    EXPECT_EQ(m_Core->m_UserDataPerman->m_ShowedCGFlags.count(L"ev01a"), 1u);
    // The wide picture is found under the part of the name before its first dot.
    EXPECT_EQ(Layer(L"$BGWLAYER:SeqAvgMain")->GetCurrentContent().m_ContentFileName, L"cg/ev/ev01a_w.png");
    // A name whose letter case differs from its gallery cell is recorded under the cell's name.
    std::filesystem::copy_file(m_Game + "/cg/ev/ev01a.png", m_Game + "/cg/ev/Ev01A.png");
    m_Core->m_UserDataPerman->m_ShowedCGFlags.clear();
    Run(L"EVENTCASE");
    EXPECT_EQ(Window()->GetText(), L"ev");
    EXPECT_EQ(m_Core->m_UserDataPerman->m_ShowedCGFlags.count(L"ev01a"), 1u);
    EXPECT_EQ(m_Core->m_UserDataPerman->m_ShowedCGFlags.count(L"Ev01A"), 0u);
}

TEST_F(BuiltinScene, StrategyNamesReachTheStrategyGamesBuiltins)
{
    Enter(L"ZOR");
    Step();
    EXPECT_EQ(Window()->GetText(), L"zor") << GxString::ToUtf8(ErrorLog());
}

TEST_F(BuiltinScene, WindowCommandsHideShowAndClearTheTwoWindows)
{
    Enter(L"WINDOW");
    Steps(60);
    GxTaskUIBase* name = m_Screen->GetNameWindow();
    GxTaskUIBase* voice = m_Screen->FindWindowButton(L"btn_voice");
    ASSERT_NE(voice, nullptr);
    const auto shown = [&]
    {
        return std::vector<bool>{m_Screen->IsWidgetShown(Window()), m_Screen->IsWidgetShown(name),
                                 m_Screen->IsWidgetShown(voice)};
    };
    // The speaker's name picture (0xC04060, a little translucent) inside the name window goes and comes
    // back with it.
    const auto namePicture = [&]
    {
        Draw();
        const uint32_t p = Pixel(162, 540);
        const auto near = [](uint32_t c, int want) { return std::abs(static_cast<int>(c & 0xFF) - want) <= 40; };
        return near(p >> 16, 0xC0) && near(p >> 8, 0x40) && near(p, 0x60);
    };
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(namePicture());
    Click(); // "msg.hide": both windows and their buttons go, the text stays
    Steps(2);
    EXPECT_TRUE(Data().m_HideWindowByCommandFlag);
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false}));
    EXPECT_FALSE(namePicture());
    EXPECT_EQ(Window()->GetText(), L"見える");
    Click(); // "msg.show"
    Steps(2);
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(namePicture());
    EXPECT_EQ(Window()->GetText(), L"見える");
    g_MessageWindowHidden = 1; // the player's hide takes the name picture too
    EXPECT_FALSE(namePicture());
    g_MessageWindowHidden = 0;
    Click(); // "msg.clear": the text and the speaker go, the window stays
    Steps(2);
    EXPECT_EQ(Window()->GetText(), L"");
    EXPECT_FALSE(name->IsVisible());
    EXPECT_FALSE(Layer(L"$NAMEIMAGE:SeqAvgMain")->IsVisible());
    EXPECT_TRUE(m_Screen->IsWidgetShown(Window()));
    Click(); // "msg.hide", then a message brings the window back
    Steps(2);
    EXPECT_FALSE(Data().m_HideWindowByCommandFlag);
    EXPECT_TRUE(m_Screen->IsWidgetShown(Window()));
    EXPECT_EQ(Window()->GetText(), L"戻った");
    EXPECT_EQ(GxLog::GetErrorCount(), 0u) << GxString::ToUtf8(ErrorLog());
}

TEST_F(BuiltinScene, BackgroundColourAndMoveUnderEitherName)
{
    Enter(L"TINT");
    Steps(2);
    GxTaskLayer* bg = Layer(L"$BGLAYER:SeqAvgMain");
    const auto drawn = [&](int x, int y)
    {
        Draw();
        return Pixel(x, y) | 0xFF000000u;
    };
    // The room (0x806040) through a blue tint, then white, then black with alpha 1.
    EXPECT_EQ(drawn(512, 100), 0xFF000040u);
    Click();
    Steps(2);
    EXPECT_EQ(drawn(512, 100), 0xFF806040u);
    Click();
    Steps(2);
    const GxVector4 black = bg->GetColor0();
    EXPECT_EQ(std::vector<float>({black.x, black.y, black.z, black.w}), std::vector<float>({0, 0, 0, 1}));
    EXPECT_EQ(drawn(512, 100), 0xFF000000u);

    // The move is queued with its time and awaited: the script holds until the layer arrives.
    const float depth = bg->GetPos().z;
    Click();
    Steps(15); // 250 ms of 500
    EXPECT_EQ(Data().m_Hold_EndOfLayerActionSeparate, 15);
    EXPECT_EQ(Data().m_Hold_EndOfLayerActionSeparate_LayerName, L"$BGLAYER:SeqAvgMain");
    EXPECT_GT(bg->GetPos().x, 5.0f);
    EXPECT_LT(bg->GetPos().x, 95.0f);
    EXPECT_NE(Window()->GetText(), L"着いた");
    Steps(20);
    EXPECT_EQ(Window()->GetText(), L"着いた");
    EXPECT_EQ(Data().m_Hold_EndOfLayerActionSeparate, 0);
    EXPECT_FLOAT_EQ(bg->GetPos().x, 100.0f);
    EXPECT_FLOAT_EQ(bg->GetPos().y, -50.0f);
    EXPECT_FLOAT_EQ(bg->GetPos().z, depth);
    // Drawn where it moved to: the strip it left on the left is empty.
    EXPECT_NE(drawn(50, 300), 0xFF806040u);
    EXPECT_EQ(drawn(150, 300), 0xFF806040u);
    // No arguments: back to (0, 0) at once.
    Steps(60);
    Click();
    Steps(3);
    EXPECT_EQ(Window()->GetText(), L"戻った");
    EXPECT_FLOAT_EQ(bg->GetPos().x, 0.0f);
    EXPECT_FLOAT_EQ(bg->GetPos().y, 0.0f);
    EXPECT_EQ(GxLog::GetErrorCount(), 0u) << GxString::ToUtf8(ErrorLog());
}

TEST_F(BuiltinScene, ShakeEndStopsTheCharactersShakeAtOnce)
{
    Enter(L"SHAKE");
    GxTaskLayer* lilith = m_Screen->FindStandLayer(L"リリス");
    bool moved = false;
    for (int i = 0; i < 6; ++i)
    {
        Step();
        const GxVector4& offset = lilith->GetVisual().m_ShakeOffsetPos;
        moved = moved || offset.x != 0.0f || offset.y != 0.0f;
    }
    EXPECT_TRUE(lilith->m_Shake);
    EXPECT_TRUE(moved);
    Steps(15); // the 200 ms wait runs out
    EXPECT_EQ(Data().m_Hold_WaitClick, 15);
    for (int i = 0; i < 10; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_FALSE(lilith->m_Shake);
        EXPECT_EQ(lilith->m_ShakeTimeLeft, 0);
        EXPECT_EQ(lilith->m_ShakeTimeTotal, 0);
        EXPECT_FLOAT_EQ(lilith->m_ShakeAmplitude.x + lilith->m_ShakeAmplitude.y, 0.0f);
        EXPECT_FLOAT_EQ(lilith->GetVisual().m_ShakeOffsetPos.x, 0.0f);
        EXPECT_FLOAT_EQ(lilith->GetVisual().m_ShakeOffsetPos.y, 0.0f);
        Step();
    }
    Click();
    Steps(2);
    EXPECT_EQ(Count(L"sp.shake_end:レイヤーが見つかりません。命令が間違っているかキャラ名[誰か]は未定義です"), 1u)
        << GxString::ToUtf8(ErrorLog());
}
