// The music room: the track count, wrapping, play after entry, no restart of the playing track, and the
// indicator beside the playing track's button.
#include "ExtraTestSupport.h"

#include "adventure/SeqBGMMode.h"
#include "task/ui/GxTaskUINull.h"

namespace
{

class MusicRoom : public ExtraTest<SeqBGMMode>
{
protected:
    void SetUp() override
    {
        ExtraTest::SetUp();
        for (int32_t id : {1, 2, 3, 5})
        {
            g_DBBGMMode.GetRow(id)->m_FileName = L"track" + std::to_wstring(id) + L".ogg";
            g_DBBGMMode.GetRow(id)->m_LoopPosTime = 100u * id;
        }
        Add<GxTaskUIButtonIs>(L"btn_back", 0);
        for (const wchar_t* name : {L"btn_bgmplay", L"btn_bgmstop"})
            Add<GxTaskUIRadioButtonIs>(name, 0)->SetGroupID(1);
        Add(L"btn_bgmprev", 0);
        Add(L"btn_bgmnext", 0);
        for (int32_t id = 1; id <= 3; ++id)
            Add<GxTaskUIRadioButtonIs>(L"btn_bgmselect", id, 200.0f, 100.0f * id)->SetGroupID(2);
        Add<GxTaskUINull>(L"tip_playing", 0);
        Open();
    }
};

} // namespace

TEST_F(MusicRoom, CountStopsAtTheFirstEmptyRowAndEntryStopsTheStory)
{
    EXPECT_EQ(SeqBGMMode::CountTracks(), 3);
    EXPECT_EQ(m_Screen->GetTrackCount(), 3);
    EXPECT_EQ(m_Screen->GetCurrentTrack(), 0);
    EXPECT_TRUE(Widget(L"btn_bgmstop")->GetValueAsBool());
    EXPECT_FALSE(Widget(L"tip_playing")->IsVisible());
}

TEST_F(MusicRoom, PlayAfterEntryStartsTrackOneAndDoesNotRestartIt)
{
    Click(L"btn_bgmplay");
    EXPECT_EQ(m_Screen->GetCurrentTrack(), 1);
    EXPECT_TRUE(Widget(L"btn_bgmselect", 1)->GetValueAsBool());
    EXPECT_EQ(m_Data.m_BGMRecord.m_FileName, L"bgms/track1.ogg");
    EXPECT_EQ(m_Data.m_BGMRecord.m_Loop, 0);
    EXPECT_EQ(m_Data.m_BGMRecord.m_FadeInTime, 500);
    EXPECT_EQ(m_Data.m_BGMRecord.m_LoopPosTime, 100u);
    // A restart would write the record afresh.
    m_Data.m_BGMRecord.m_StartSeekPosTime = 777;
    Click(L"btn_bgmplay");
    EXPECT_EQ(m_Data.m_BGMRecord.m_StartSeekPosTime, 777u);
}

TEST_F(MusicRoom, PreviousAndNextWrapOverTheCount)
{
    const struct
    {
        const wchar_t* button;
        int32_t track;
    } steps[] = {
        {L"btn_bgmprev", 3}, {L"btn_bgmnext", 1}, {L"btn_bgmnext", 2}, {L"btn_bgmprev", 1}, {L"btn_bgmprev", 3}};
    for (const auto& step : steps)
    {
        Click(step.button);
        EXPECT_EQ(m_Screen->GetCurrentTrack(), step.track) << step.button;
        EXPECT_TRUE(Widget(L"btn_bgmselect", step.track)->GetValueAsBool());
        EXPECT_EQ(m_Data.m_BGMRecord.m_FileName, L"bgms/track" + std::to_wstring(step.track) + L".ogg");
    }
    EXPECT_TRUE(Widget(L"btn_bgmplay")->GetValueAsBool());
}

TEST_F(MusicRoom, IndicatorStandsLeftOfThePlayingTrackAndStopHidesIt)
{
    Click(L"btn_bgmselect", 2);
    GxTaskUIBase* tip = Widget(L"tip_playing");
    EXPECT_TRUE(tip->IsVisible());
    EXPECT_FLOAT_EQ(tip->GetPos().x, 200.0f - 37.0f);
    EXPECT_FLOAT_EQ(tip->GetPos().y, 200.0f);
    Click(L"btn_bgmstop");
    EXPECT_FALSE(tip->IsVisible());
    EXPECT_TRUE(m_Data.m_BGMRecord.IsEmpty());
}

TEST_F(MusicRoom, RightClickActsAsBackOnlyWhileBackTakesInput)
{
    const float p[2] = {0, 0};
    Widget(L"btn_back")->SetEnabled(false);
    m_Screen->OnMouseRightDown(p, 0, 0);
    m_Tree.Step(0, 0);
    EXPECT_FALSE(m_Tree.manage.IsChangeSequencePending());
    Widget(L"btn_back")->SetEnabled(true);
    m_Screen->OnMouseRightDown(p, 0, 0);
    m_Tree.Step(0, 0);
    EXPECT_EQ(Current(), L"SeqTitle");
}
