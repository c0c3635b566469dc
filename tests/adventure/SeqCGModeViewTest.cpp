// The picture viewer: the shown cells in order up to cell 31, the keys that step, the return after the
// last, the right button, and a picture that cannot be found.
#include "ExtraTestSupport.h"

#include "adventure/SeqCGModeView.h"

namespace
{

class Viewer : public ExtraTest<SeqCGModeView>
{
protected:
    void SetUp() override
    {
        ExtraTest::SetUp();
        m_Gallery = new GxSeqBase(m_Tree.root, L"SeqCGMode");
        DBCGModeData* e = g_DBCGMode.GetRow(3);
        for (int32_t c = 0; c < 32; ++c)
            e->m_FileName[c] = L"ev" + std::to_wstring(c);
        for (int32_t c : {0, 5, 31})
            m_Perman.m_ShowedCGFlags[L"ev" + std::to_wstring(c)] = 1;
    }
    void OpenEntry(uint32_t entry)
    {
        m_Tree.Enter(m_Gallery);
        m_Tree.manage.ChangeSequence(m_Screen, entry, 0);
        m_Tree.manage.ApplyPendingSequence();
        m_Tree.Step(0, 0);
    }
    void LeftClick()
    {
        const float p[2] = {0, 0};
        m_Tree.manage.WalkMouseLeftDown(m_Screen, p, 0);
        m_Tree.Step(0, 0);
    }
    GxSeqBase* m_Gallery = nullptr;
};

} // namespace

TEST_F(Viewer, StepsThroughTheShownCellsThenReturns)
{
    OpenEntry(3);
    EXPECT_EQ(m_Screen->GetEntry(), 3);
    EXPECT_EQ(m_Screen->GetCell(), 0);
    LeftClick();
    EXPECT_EQ(m_Screen->GetCell(), 5);
    m_Screen->OnKeyDown(0x41, 0); // not a stepping key
    m_Tree.Step(0, 0);
    EXPECT_EQ(m_Screen->GetCell(), 5);
    m_Screen->OnKeyDown(0x20, 0);
    m_Tree.Step(0, 0);
    EXPECT_EQ(m_Screen->GetCell(), 31);
    EXPECT_FALSE(m_Tree.manage.IsChangeSequencePending());
    LeftClick();
    EXPECT_EQ(Current(), L"SeqCGMode");
    // No picture file exists here: each was logged and the layer kept what it had.
    EXPECT_TRUE(m_Log.Contains(L"画像がありません ev31\n"));
    // With cells 0 and 5 shown only, the third click returns.
    m_Perman.m_ShowedCGFlags.erase(L"ev31");
    OpenEntry(3);
    LeftClick();
    EXPECT_EQ(m_Screen->GetCell(), 5);
    EXPECT_FALSE(m_Tree.manage.IsChangeSequencePending());
    LeftClick();
    EXPECT_EQ(Current(), L"SeqCGMode");
}

TEST_F(Viewer, EveryStepKeyStepsAndTheRightButtonReturnsAtOnce)
{
    for (uint32_t key : SeqCGModeView::kStepKeys)
    {
        OpenEntry(3);
        m_Screen->OnKeyDown(key, 0);
        m_Tree.Step(0, 0);
        EXPECT_EQ(m_Screen->GetCell(), 5) << key;
    }
    const float p[2] = {0, 0};
    m_Screen->OnMouseRightDown(p, 0, 0);
    m_Tree.Step(0, 0);
    EXPECT_EQ(Current(), L"SeqCGMode");
}

TEST_F(Viewer, EntryWithoutShownCellsOrOutsideTheTableReturnsOnTheFirstClick)
{
    for (uint32_t entry : {4u, 900u})
    {
        OpenEntry(entry);
        EXPECT_EQ(m_Screen->GetCell(), -1);
        LeftClick();
        EXPECT_EQ(Current(), L"SeqCGMode") << entry;
    }
}
