// The message, picture and character builtins run by the story script in the scene harness, with their
// edge cases, their "err:[Script=...]" lines and the mended faults (a script looping without a wait, a
// builtin inside a text block, a sub-layer past the count, a damaged picture).
#include "AvgSceneHarness.h"

#include "adventure/GxMoaBuiltinEx.h"
#include "script/GxMoaEx.h"
#include "appdata/GxMessageLogElement.h"
#include "graphics/GxTextureFlex.h"
#include "task/GxSubLayerContent.h"

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
