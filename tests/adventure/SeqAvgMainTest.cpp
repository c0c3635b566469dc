// The adventure main screen in the scene harness: its tree from the sample rows, messages stopping the
// script, holds ended by time, state and input, skip and auto, the player's hiding of the window,
// choices, the background transit and the quick save.
#include "AvgSceneHarness.h"

#include "graphics/GxTexture.h"
#include "script/GxMoaEx.h"
#include "task/GxTaskControl.h"
#include "task/GxTaskFolder.h"

namespace
{

const std::vector<std::string> kStory = {
    "*MAIN",
    "@msg(\"はじめのメッセージ\")",
    "@msg(\"ふたつめ\")",
    "*BG",
    "@bg(\"room\", 0)",
    "@msg(\"部屋\")",
    "*LEFT",
    "@msg(\"左\")",
    "*RIGHT",
    "@msg(\"右\")",
    "*VOICE",
    "@vo(\"lilith_0001\")",
    "@msg(\"声\")",
    "@msg(\"声のあと\")",
};

class SeqAvgMainScene : public AvgScene
{
protected:
    void SetUp() override
    {
        AvgScene::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start(kStory));
    }
    // Clicks until the window waits for a click (the page is complete).
    void Complete()
    {
        if (Window()->GetRemainCharCount() > 0 && !Window()->IsClickWaiting())
            Click();
    }
};

} // namespace

TEST_F(SeqAvgMainScene, TreeIsBuiltFromTheSampleRows)
{
    for (const wchar_t* name :
         {L"$ROOT:SeqAvgMain", L"$VISUAL:SeqAvgMain", L"$BGLAYER:SeqAvgMain", L"$BGWLAYER:SeqAvgMain",
          L"$MOVIELAYER:SeqAvgMain", L"$GLOBALFLASH:SeqAvgMain", L"$GLOBALFADE:SeqAvgMain", L"$STAND:SeqAvgMain",
          L"$UI:SeqAvgMain", L"$MESWIN:SeqAvgMain", L"$NAMEWIN:SeqAvgMain", L"$NAMEIMAGE:SeqAvgMain",
          L"$SELECT:SeqAvgMain", L"$BGTRANSIT:SeqAvgMain"})
        EXPECT_NE(m_Core->m_TaskManage->FindTaskByName(name), nullptr) << GxString::ToUtf8(name);
    EXPECT_EQ(Window()->GetChildCount(), 12);
    EXPECT_NE(m_Screen->FindWindowButton(L"btn_auto"), nullptr);
    EXPECT_EQ(m_Screen->FindWindowButton(L"btn_auto")->GetTypeCode(), 19);
    EXPECT_NE(m_Screen->FindSelectButton(10), nullptr);
    EXPECT_EQ(m_Screen->FindSelectButton(11), nullptr);
    EXPECT_NE(m_Screen->FindStandLayer(L"リリス"), nullptr);
    EXPECT_EQ(m_Screen->FindStandLayer(L"リリス")->m_Contents[1].GetSubLayerCount(), 2);
    EXPECT_FALSE(Layer(L"$BGWLAYER:SeqAvgMain")->IsVisible());
    EXPECT_EQ(GxLog::GetErrorCount(), 0u) << GxString::ToUtf8(ErrorLog());
}

TEST_F(SeqAvgMainScene, MessageStopsTheScriptUntilClickedAndIsReadTheSecondTime)
{
    Enter(L"MAIN");
    Step();
    EXPECT_EQ(Window()->GetText(), L"はじめのメッセージ");
    EXPECT_FALSE(Window()->IsReaded());
    EXPECT_FALSE(m_Screen->CanRunScript());
    Complete();
    Steps(3);
    EXPECT_EQ(Window()->GetText(), L"はじめのメッセージ"); // the script waits on the click
    Click();
    Step();
    EXPECT_EQ(Window()->GetText(), L"ふたつめ");
    ASSERT_EQ(Data().m_MessageLog.size(), 2u);
    EXPECT_EQ(Data().m_MessageLog.front().m_Message, L"はじめのメッセージ");

    ASSERT_TRUE(g_MoaMainWorker->StartAtLabel(L"MAIN"));
    Complete();
    Click();
    Step();
    EXPECT_EQ(Window()->GetText(), L"はじめのメッセージ");
    EXPECT_TRUE(Window()->IsReaded());
}

TEST_F(SeqAvgMainScene, BreakHoldEndsOnlyTheFirstHoldSharingAMaskBit)
{
    struct Case
    {
        int32_t holdMask;
        int32_t input;
        int ended; // holds ended by repeated BreakHold(input)
    } cases[] = {{15, 2, 9}, {3, 2, 9}, {1, 2, 0}, {9, 2, 0}, {9, 8, 9}, {3, 8, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.holdMask << " by " << c.input);
        GxUserData& d = Data();
        for (int32_t* hold : {&d.m_Hold_WaitClick, &d.m_Hold_WaitTime, &d.m_Hold_EndOfMovie,
                              &d.m_Hold_EndOfLayerActionAll, &d.m_Hold_EndOfLayerActionSeparate, &d.m_Hold_EndOfBGM,
                              &d.m_Hold_EndOfBGV, &d.m_Hold_EndOfSE, &d.m_Hold_EndOfVoice})
            *hold = c.holdMask;
        d.m_Hold_WaitTime_TimeLeft = 5000;
        if (c.ended > 0)
        {
            EXPECT_TRUE(m_Screen->BreakHold(c.input));
            EXPECT_EQ(d.m_Hold_WaitClick, 0);
            EXPECT_EQ(d.m_Hold_WaitTime, c.holdMask); // only the first
        }
        int ended = c.ended > 0 ? 1 : 0;
        while (m_Screen->BreakHold(c.input))
            ++ended;
        EXPECT_EQ(ended, c.ended);
        d.m_Hold_WaitClick = d.m_Hold_WaitTime = d.m_Hold_EndOfMovie = d.m_Hold_EndOfLayerActionAll = 0;
        d.m_Hold_EndOfLayerActionSeparate = d.m_Hold_EndOfBGM = d.m_Hold_EndOfBGV = d.m_Hold_EndOfSE = 0;
        d.m_Hold_EndOfVoice = 0;
    }
}

TEST_F(SeqAvgMainScene, HoldsEndByTimeAndStateAndClickByInput)
{
    Enter(L"MAIN");
    GxUserData& d = Data();
    d.m_Hold_WaitTime = 2;
    d.m_Hold_WaitTime_TimeLeft = 100;
    d.m_Hold_WaitClick = 2;
    d.m_Hold_EndOfLayerActionSeparate = 2; // empty layer name: ends at once
    d.m_Hold_EndOfVoice = 2;               // no voice plays
    GxTaskLayer* lilith = m_Screen->FindStandLayer(L"リリス");
    lilith->AddActionWait(0, 200);
    d.m_Hold_EndOfLayerActionAll = 2;
    m_Screen->UpdateHolds(50000);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate + d.m_Hold_EndOfVoice, 0);
    EXPECT_NE(d.m_Hold_WaitTime, 0);
    EXPECT_NE(d.m_Hold_EndOfLayerActionAll, 0);
    m_Screen->UpdateHolds(50000);
    EXPECT_EQ(d.m_Hold_WaitTime, 0);
    GxTaskActor::StepActions(lilith, 200);
    m_Screen->UpdateHolds(0);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionAll, 0);
    EXPECT_NE(d.m_Hold_WaitClick, 0); // never by time
    EXPECT_EQ(Click(), m_Screen);     // consumed by the hold
    EXPECT_EQ(d.m_Hold_WaitClick, 0);
    // A single-layer wait that ends by itself leaves no layer name behind.
    lilith->AddActionWait(0, 100);
    d.m_Hold_EndOfLayerActionSeparate = 2;
    d.m_Hold_EndOfLayerActionSeparate_LayerName = L"リリス";
    m_Screen->UpdateHolds(0);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate_LayerName, L"リリス");
    GxTaskActor::StepActions(lilith, 100);
    m_Screen->UpdateHolds(0);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate, 0);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate_LayerName, L"");
}

TEST_F(SeqAvgMainScene, SkipStopsAtUnreadTextUnlessAllowedAndRunsOverReadText)
{
    Enter(L"MAIN");
    Step();
    g_SkipMode = 1;
    Step();
    EXPECT_GT(Window()->GetRemainCharCount(), 0); // unread: not completed
    Options().m_AllowSkipUnreadText = true;
    Steps(3);
    EXPECT_EQ(Window()->GetText(), L"ふたつめ");
    // A left click ends skip mode and is consumed.
    EXPECT_EQ(Click(), m_Screen);
    EXPECT_EQ(g_SkipMode, 0);
    // Without the setting, skip runs over the two pages read above and stops at the unread one after.
    Options().m_AllowSkipUnreadText = false;
    m_Screen->ClearMessage();
    ASSERT_TRUE(g_MoaMainWorker->StartAtLabel(L"MAIN"));
    g_SkipMode = 1;
    Steps(8, 100000);
    EXPECT_EQ(Window()->GetText(), L"部屋");
    EXPECT_TRUE(Window()->IsClickWaiting()); // typed out, and held there
}

TEST_F(SeqAvgMainScene, AutoAdvancesAfterTheWaitTime)
{
    Enter(L"MAIN");
    Step();
    Complete();
    g_AutoMode = 1; // as btn_auto switches it on
    g_AutoWaitLeft = Options().m_AutoWaitTime;
    Step();
    const int steps = Options().m_AutoWaitTime / 100;
    Steps(steps - 1, 100000);
    EXPECT_EQ(Window()->GetText(), L"はじめのメッセージ");
    Steps(2, 100000);
    EXPECT_EQ(Window()->GetText(), L"ふたつめ");
}

TEST_F(SeqAvgMainScene, AutoWaitingForTheVoiceAdvancesOnTheFirstStepAfterItEnds)
{
    ASSERT_NO_FATAL_FAILURE(StartSound());
    Enter(L"MAIN");
    for (const bool waitVoice : {true, false})
    {
        SCOPED_TRACE(waitVoice);
        Options().m_WaitVoiceEndOnAutoMode = waitVoice;
        m_Screen->ClearMessage();
        ASSERT_TRUE(g_MoaMainWorker->StartAtLabel(L"VOICE"));
        Steps(6);
        Complete();
        ASSERT_TRUE(GxSound::GetChannelState(8)); // nothing drains the output: the voice plays on
        g_AutoMode = 1;
        g_AutoWaitLeft = Options().m_AutoWaitTime;
        Steps(Options().m_AutoWaitTime / 100 + 2, 100000);
        if (waitVoice)
        {
            EXPECT_EQ(Window()->GetText(), L"声");
            EXPECT_EQ(g_AutoWaitLeft, 0);
            GxSound::Stop(8, 0);
            Step();
        }
        EXPECT_EQ(Window()->GetText(), L"声のあと");
        g_AutoMode = 0;
    }
}

TEST_F(SeqAvgMainScene, VoiceButtonPlaysTheLineVoiceAgain)
{
    ASSERT_NO_FATAL_FAILURE(StartSound());
    Enter(L"VOICE");
    Steps(3);
    ASSERT_EQ(Window()->GetText(), L"声");
    ASSERT_TRUE(GxSound::GetChannelState(8));
    GxSound::Stop(8, 0); // the line's voice has ended
    ASSERT_FALSE(GxSound::GetChannelState(8));
    GxTaskUIBase* voice = m_Screen->FindWindowButton(L"btn_voice");
    ASSERT_NE(voice, nullptr);
    EXPECT_NE(m_Screen->OnUIEvent1(voice, GxUIEvent(voice, 1, 0)), 0);
    EXPECT_TRUE(GxSound::GetChannelState(8));
    EXPECT_FALSE(Data().m_VoiceRecord[0].IsEmpty());
    // Pressed again while it plays: restarted, still recorded.
    m_Screen->OnUIEvent1(voice, GxUIEvent(voice, 1, 0));
    EXPECT_TRUE(GxSound::GetChannelState(8));
    EXPECT_FALSE(Data().m_VoiceRecord[0].IsEmpty());
}

TEST_F(SeqAvgMainScene, ResetKeepsTheMovieLayerFadeOutTime)
{
    Enter(L"MAIN");
    GxTaskLayer* movie = Layer(L"$MOVIELAYER:SeqAvgMain");
    ASSERT_NE(movie, nullptr);
    m_Screen->ResetLayers();
    EXPECT_EQ(movie->GetMovieAutoDisappearTime(), 800);
    movie->SetMovieAutoDisappearTime(300); // as "mv.autostop(300)"
    m_Screen->ResetWindows();
    EXPECT_EQ(movie->GetMovieAutoDisappearTime(), 300);
    Data().ResetAdventure(true); // a new game or a load
    EXPECT_EQ(movie->GetMovieAutoDisappearTime(), 300);
}

TEST_F(SeqAvgMainScene, WidePictureOnlyServesTheThumbnailAndStaysHidden)
{
    Enter(L"MAIN");
    GxTaskLayer* wide = Layer(L"$BGWLAYER:SeqAvgMain");
    ASSERT_NE(wide, nullptr);
    m_Screen->ResetLayers();
    EXPECT_FALSE(wide->IsVisible());
    wide->Show(); // as a scene read from a save written while it showed
    m_Screen->OnSequenceEnter();
    EXPECT_FALSE(wide->IsVisible());
}

TEST_F(SeqAvgMainScene, HiddenWindowInput)
{
    Enter(L"MAIN");
    Step();
    Complete();
    EXPECT_NE(Key(0x20), nullptr); // Space hides
    EXPECT_EQ(g_MessageWindowHidden, 1);
    EXPECT_FALSE(m_Screen->IsWidgetShown(Window()));
    EXPECT_FALSE(m_Screen->CanRunScript());
    EXPECT_EQ(Wheel(-60), nullptr); // under one notch: nothing
    EXPECT_EQ(g_MessageWindowHidden, 1);
    Key(0x0D); // Enter only unhides
    EXPECT_EQ(g_MessageWindowHidden, 0);
    EXPECT_TRUE(Window()->IsClickWaiting());
    Key(0x20);
    EXPECT_EQ(RightClick(), nullptr); // unhides and lets the click go on
    EXPECT_EQ(g_MessageWindowHidden, 0);
}

TEST_F(SeqAvgMainScene, ButtonsClickAndOtherWidgetsStaySilent)
{
    ASSERT_NO_FATAL_FAILURE(StartSound());
    Enter(L"MAIN");
    m_Screen->OnUIEvent1(Window(), GxUIEvent(Window(), 1, 0));
    EXPECT_EQ(GxSound::GetOneShotCount(), 0u);
    GxTaskUIBase* skip = m_Screen->FindWindowButton(L"btn_skip"); // a toggle, built on the image button
    m_Screen->OnUIEvent1(skip, GxUIEvent(skip, 1, 0));
    EXPECT_EQ(GxSound::GetOneShotCount(), 1u);
}

TEST_F(SeqAvgMainScene, ThreeVisibleChoicesOfFiveStandInOrderFiftyMsApart)
{
    Enter(L"MAIN");
    GxUserData& d = Data();
    for (size_t i = 6; i < d.m_SelectMenuItemList.size(); ++i)
        d.m_SelectMenuItemList[i].m_Visible = false;
    for (int i = 1; i <= 5; ++i)
    {
        d.m_SelectMenuItemList[i].m_Text = L"choice" + std::to_wstring(i);
        d.m_SelectMenuItemList[i].m_Visible = i != 2 && i != 4;
        d.m_SelectMenuItemList[i].m_Enable = true;
    }
    m_Screen->ShowSelectMenu();
    EXPECT_TRUE(d.m_IsSelecting);
    GxTaskUIBase* shown[3] = {m_Screen->FindSelectButton(1), m_Screen->FindSelectButton(3),
                              m_Screen->FindSelectButton(5)};
    EXPECT_FALSE(m_Screen->FindSelectButton(2)->IsVisible());
    const int32_t h = shown[0]->GetHeight() + 10;
    const int32_t top = static_cast<int32_t>((Window()->GetPos().y - 3 * h) * 0.5f);
    for (int k = 0; k < 3; ++k)
    {
        SCOPED_TRACE(k);
        EXPECT_TRUE(shown[k]->IsVisible());
        EXPECT_FLOAT_EQ(shown[k]->GetPos().y, static_cast<float>(top + k * h));
        EXPECT_FLOAT_EQ(shown[k]->GetPos().x, static_cast<float>((1024 - shown[k]->GetWidth()) / 2 - 32));
        EXPECT_EQ(shown[k]->GetAlpha(), 0);
        EXPECT_EQ(shown[k]->GetActions(0).front().m_TimeTotal, 50 * k);
    }
    EXPECT_FALSE(m_Screen->CanRunScript());
}

TEST_F(SeqAvgMainScene, DecidingJumpsCallsOrReportsAMissingLabel)
{
    Enter(L"MAIN");
    GxUserData& d = Data();
    auto offer = [&](const wchar_t* label, bool gosub)
    {
        d.m_SelectMenuItemList[1].m_Text = L"a";
        d.m_SelectMenuItemList[1].m_Visible = true;
        d.m_SelectMenuItemList[1].m_Label = label;
        d.m_SelectMenuItemList[1].m_UseGosub = gosub;
        m_Screen->ShowSelectMenu();
    };
    offer(L"RIGHT", false);
    const size_t depth = g_MoaMainWorker->GetExecStack().size();
    m_Screen->DecideSelectMenu(1);
    EXPECT_EQ(d.m_LastSelectNum, 1);
    EXPECT_FALSE(d.m_IsSelecting);
    EXPECT_EQ(g_MoaMainWorker->GetExecStack().size(), depth);
    EXPECT_EQ(g_MoaMainWorker->GetExecStack().back()->m_Pos.m_Line, 8);
    offer(L"LEFT", true);
    m_Screen->DecideSelectMenu(1);
    EXPECT_EQ(g_MoaMainWorker->GetExecStack().size(), depth + 1);
    offer(L"NOWHERE", false);
    m_Screen->DecideSelectMenu(1);
    EXPECT_NE(ErrorLog().find(L"選択肢[1]番のラベル [NOWHERE] が見つかりません"), std::wstring::npos);
    EXPECT_NE(g_MoaInstance->m_ErrorStop, 0);
}

TEST_F(SeqAvgMainScene, BackgroundTransitHidesWidgetsAndEndsWithItsTime)
{
    Enter(L"MAIN");
    EXPECT_TRUE(m_Screen->StartBackgroundChange(L"cg/bg/room.png", L"cg/tr/wipe.png", 100, true));
    EXPECT_TRUE(m_Screen->IsBackgroundTransit());
    EXPECT_TRUE(Layer(L"$BGTRANSIT:SeqAvgMain")->IsVisible());
    EXPECT_FALSE(m_Screen->IsWidgetShown(Window()));
    EXPECT_FALSE(m_Screen->CanRunScript());
    Steps(6);
    EXPECT_TRUE(m_Screen->IsBackgroundTransit());
    Step();
    EXPECT_FALSE(m_Screen->IsBackgroundTransit());
    EXPECT_FALSE(Layer(L"$BGTRANSIT:SeqAvgMain")->IsVisible());
    // Time 0 ends on the next update.
    m_Screen->StartBackgroundChange(L"cg/bg/room.png", L"", 0, false);
    Step(0);
    EXPECT_FALSE(m_Screen->IsBackgroundTransit());
}

TEST_F(SeqAvgMainScene, QuickSaveWritesAFileThatLoadsBack)
{
    Enter(L"MAIN");
    Step();
    m_Screen->QuickSave();
    const std::wstring path = Folder() + L"gamedata_quick.gd";
    EXPECT_NE(GxFile::Exists(path), 0);
    EXPECT_TRUE(Data().CheckFile(path));
}

TEST_F(SeqAvgMainScene, QuickLoadWithoutAQuickSaveReturnsToTheRecordedScreenUntouched)
{
    Enter(L"MAIN");
    Step();
    const std::wstring text = Window()->GetText();
    GxTaskManage* manage = m_Core->m_TaskManage;
    ASSERT_TRUE(manage->ChangeSequence(L"SeqQuickLoad", 0, 0));
    manage->ApplyPendingSequence();
    for (int i = 0; i < 600 && manage->GetCurrentSequenceName() == L"SeqQuickLoad"; ++i)
        Step();
    EXPECT_EQ(manage->GetCurrentSequenceName(), L"SeqAvgMain");
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0); // no notice waits for the player
    EXPECT_EQ(Window()->GetText(), text);
    EXPECT_EQ(Data().m_MessageLog.size(), 1u);
}

TEST_F(SeqAvgMainScene, TransitPixelsFollowTheRuleImage)
{
    Enter(L"MAIN");
    // The rule's red grows from 0 on the left to 255 on the right (x / 4).
    ASSERT_TRUE(m_Screen->StartBackgroundChange(L"cg/bg/room.png", L"cg/tr/wipe.png", 1000, true));
    auto* target = dynamic_cast<GxTexture*>(Layer(L"$BGTRANSIT:SeqAvgMain")->GetCurrentContent().m_pTexture);
    ASSERT_NE(target, nullptr);
    auto alphas = [&]
    {
        m_Screen->Draw(0, 0);
        void* bits = nullptr;
        uint32_t pitch = 0;
        std::vector<uint32_t> out;
        if (!target->LockRect(nullptr, &bits, &pitch, nullptr, nullptr, nullptr, true))
            return out;
        for (uint32_t x : {0u, 400u, 1020u})
            out.push_back(*reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(bits) + 10 * pitch + x * 4) >>
                          24);
        target->UnlockRect();
        return out;
    };
    EXPECT_EQ(alphas(), (std::vector<uint32_t>{255, 255, 255})); // 0 %
    Step(500000);
    EXPECT_EQ(alphas(), (std::vector<uint32_t>{0, 100, 255})); // 50 %: alpha = red
    Step(499000);
    EXPECT_EQ(alphas(), (std::vector<uint32_t>{0, 0, 1})); // 99.9 %: red - 254, at least 0
}
