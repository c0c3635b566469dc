// The replay mode: completion, plates of rows without a label, the replay flag on entry, after btn_back
// and after a scene, and the music kept until the replay music replaces it.
#include "ExtraTestSupport.h"

#include "adventure/SeqRPMode.h"

namespace
{

class Replay : public ExtraTest<SeqRPMode>
{
protected:
    void SetUp() override
    {
        ExtraTest::SetUp();
        for (int32_t row = 0; row < 8; ++row)
        {
            g_DBRPMode.GetRow(row)->m_Group = 1 + row / 4;
            g_DBRPMode.GetRow(row)->m_Label = L"SCENE" + std::to_wstring(row);
            g_DBRPMode.GetRow(row)->m_Thumbnail = L"rp" + std::to_wstring(row);
        }
        g_DBRPMode.GetRow(9)->m_Group = 1; // a slot without a scene
        for (int32_t row : {0, 2, 5, 7})
            m_Perman.m_PassedReplayLabels.insert(L"SCENE" + std::to_wstring(row));
        for (const wchar_t* name : {L"btn_back", L"btn_prev", L"btn_next"})
            Add(name, 0);
        for (int32_t page = 1; page <= 2; ++page)
            Add<GxTaskUIRadioButtonIs>(L"btn_pageselect", page)->SetGroupID(3);
        for (int32_t slot = 0; slot < 25; ++slot)
            Add(L"btn_rpselect", slot, 10.0f * slot, 0.0f);
    }
};

} // namespace

TEST_F(Replay, CompletionAndPlatesOfTheFirstPage)
{
    m_Data.m_IsSelecting = true;
    Open();
    EXPECT_EQ(m_Screen->GetSceneTotal(), 8);
    EXPECT_EQ(m_Screen->GetCompletionText(), L" 50");
    EXPECT_TRUE(m_Data.m_ReplayMode);
    EXPECT_FALSE(m_Data.m_IsSelecting); // the adventure was reset
    Click(L"btn_next");
    ASSERT_EQ(m_Screen->GetPageEntries(), (std::vector<int32_t>{0, 1, 2, 3, 9}));
    EXPECT_TRUE(Widget(L"btn_rpselect", 0)->IsEnabled());
    EXPECT_FALSE(Widget(L"btn_rpselect", 1)->IsEnabled());
    EXPECT_FALSE(Widget(L"btn_rpselect", 4)->IsEnabled());
    m_Screen->Draw(2, 5);
    const auto& draw = m_Screen->GetLastDraw();
    ASSERT_EQ(draw.size(), 5u);
    EXPECT_EQ(draw[0].m_Image, L"rp0");
    EXPECT_EQ(draw[1].m_Image, L"tip_rpplate.png");
    EXPECT_EQ(draw[4].m_Image, L"tip_rpplate.png");
    for (const auto& d : draw)
        EXPECT_TRUE(d.m_Figure.empty());
}

TEST_F(Replay, BackClearsTheFlagAndAScenePassesItToTheAdventure)
{
    Open();
    Click(L"btn_back");
    EXPECT_EQ(Current(), L"SeqTitle");
    EXPECT_FALSE(m_Data.m_ReplayMode);
    m_Tree.manage.ApplyPendingSequence();
    m_Tree.Enter(m_Screen);
    m_Tree.Step(0, 0);
    EXPECT_TRUE(m_Data.m_ReplayMode);
    Click(L"btn_pageselect", 2);
    Click(L"btn_rpselect", 1); // row 5
    EXPECT_EQ(Current(), L"SeqAvgMain");
    EXPECT_TRUE(m_Data.m_ReplayMode);
    // No script is loaded here, so the label cannot start; the switch happens all the same.
    EXPECT_TRUE(m_Log.Contains(L"スクリプトにラベル SCENE5 が存在しないため実行できません\n"));
    m_Tree.manage.ApplyPendingSequence();
    EXPECT_EQ(m_Tree.manage.GetCurrentParam(0), 1u);
}

TEST_F(Replay, MusicStaysUntilTheReplayMusicReplacesItOrStopsIt)
{
    m_SysConfig.m_BGMName[2] = L"story.ogg";
    m_Data.m_BGMRecord.m_FileName = L"bgms/story.ogg";
    m_Data.m_BGMRecord.m_StartSeekPosTime = 4321;
    Open();
    // Same file: neither the reset nor the replay music touched it.
    EXPECT_EQ(m_Data.m_BGMRecord.m_StartSeekPosTime, 4321u);
    m_Tree.Enter(m_Title);
    m_SysConfig.m_BGMName[2] = L"replay.ogg";
    m_SysConfig.m_BGMLoop[2] = 250;
    m_Tree.Enter(m_Screen);
    EXPECT_EQ(m_Data.m_BGMRecord.m_FileName, L"bgms/replay.ogg");
    EXPECT_EQ(m_Data.m_BGMRecord.m_LoopPosTime, 250u);
    m_Tree.Enter(m_Title);
    m_SysConfig.m_BGMName[2].clear();
    m_Tree.Enter(m_Screen);
    EXPECT_TRUE(m_Data.m_BGMRecord.IsEmpty());
}
