// Waits, a flash, a choice and the sound waits run from a script on the real adventure screen.
#include "AvgSceneHarness.h"

namespace
{
class BuiltinFlowScene : public AvgScene
{
protected:
    void SetUp() override
    {
        AvgScene::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start({"*MAIN", "@wa.time(100, \"\", 0)", "@wa.click()", "@flash(50, 50)",
                                       "@flash.wa()", "@sel.go(\"A\", \"B\")", "@sel(\"left\", \"right\")", "*A", "*B",
                                       // The music and background voice waits: the first ended by the music's end, the
                                       // second (window hidden, mask 8) only by skipping.
                                       "*SOUND", "@bgm(\"bgm02\")", "@bgm.wa", "@msg(\"曲のあと\")", "@bgv(\"wind\")",
                                       "@bgv.wa(1, 8)", "@msg(\"風のあと\")"}));
    }
};
} // namespace

TEST_F(BuiltinFlowScene, HoldsEndByTimeClickAndActionsThenTheChoiceIsOffered)
{
    Enter(L"MAIN");
    Step();
    GxUserData& d = Data();
    // Mask 0 gives 1: a click does not end the time wait, its time does.
    EXPECT_EQ(d.m_Hold_WaitTime, 1);
    Click();
    EXPECT_EQ(d.m_Hold_WaitTime, 1);
    Steps(8);
    EXPECT_EQ(d.m_Hold_WaitTime, 0);
    EXPECT_EQ(d.m_Hold_WaitClick, 15);
    Click();
    Steps(2);
    EXPECT_EQ(d.m_Hold_WaitClick, 0);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate, 15);
    Steps(10);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate, 0);
    EXPECT_TRUE(d.m_IsSelecting);
    EXPECT_EQ(d.m_SelectMenuItemList[2].m_Text, L"right");
    EXPECT_FALSE(d.m_SelectMenuItemList[3].m_Visible);
    EXPECT_EQ(d.m_SelectHash, L"main:7");
    EXPECT_EQ(GxLog::GetErrorCount(), 0u) << GxString::ToUtf8(ErrorLog());
}

TEST_F(BuiltinFlowScene, MusicAndBackgroundVoiceWaitsHoldUntilTheSoundEndsOrTheirInput)
{
    ASSERT_NO_FATAL_FAILURE(StartSound());
    Enter(L"SOUND");
    Steps(10);
    GxUserData& d = Data();
    const uint32_t music = static_cast<uint32_t>(GxSound::GetCurrentBGMChannel());
    EXPECT_EQ(d.m_Hold_EndOfBGM, 15);
    EXPECT_TRUE(GxSound::GetChannelState(music)); // nothing drains the output: the music plays on
    EXPECT_EQ(Window()->GetText(), L"");
    GxSound::Stop(music, 0); // the music has ended
    Steps(3);
    EXPECT_EQ(d.m_Hold_EndOfBGM, 0);
    EXPECT_EQ(Window()->GetText(), L"曲のあと");
    EXPECT_FALSE(d.m_BGMRecord.IsEmpty()); // ended by itself: the record stays

    Steps(60);
    Click();
    Steps(3);
    EXPECT_EQ(d.m_Hold_EndOfBGV, 9);
    EXPECT_FALSE(m_Screen->IsWidgetShown(Window()));
    Click(); // no click bit in the mask
    Steps(3);
    EXPECT_EQ(d.m_Hold_EndOfBGV, 9);
    EXPECT_TRUE(GxSound::GetChannelState(2));
    s_Ctrl = true; // skipping breaks it, stopping the background voice
    Step();
    s_Ctrl = false;
    EXPECT_EQ(d.m_Hold_EndOfBGV, 0);
    EXPECT_FALSE(GxSound::GetChannelState(2));
    EXPECT_TRUE(d.m_BGVRecord.IsEmpty());
    Steps(3);
    EXPECT_EQ(Window()->GetText(), L"風のあと");
    EXPECT_TRUE(m_Screen->IsWidgetShown(Window()));
    EXPECT_EQ(GxLog::GetErrorCount(), 0u) << GxString::ToUtf8(ErrorLog());
}
