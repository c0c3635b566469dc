// The gallery: completion, per-entry figures and plates, page wrapping, the wheel, missing thumbnails and
// the bound on a table's Count.
#include "ExtraTestSupport.h"

#include "adventure/SeqCGMode.h"

namespace
{

class Gallery : public ExtraTest<SeqCGMode>
{
protected:
    // An entry of `count` pictures named "<row>_<cell>" on a page.
    void Entry(int32_t row, int32_t group, int32_t count, int32_t tableCount = 0)
    {
        DBCGModeData* e = g_DBCGMode.GetRow(row);
        e->m_Group = group;
        e->m_Thumbnail = L"th" + std::to_wstring(row);
        for (int32_t c = 0; c < count; ++c)
            e->m_FileName[c] = std::to_wstring(row) + L"_" + std::to_wstring(c);
        e->m_Count = tableCount;
    }
    void Shown(int32_t row, int32_t cell)
    {
        m_Perman.m_ShowedCGFlags[std::to_wstring(row) + L"_" + std::to_wstring(cell)] = 1;
    }
    void Widgets()
    {
        for (const wchar_t* name : {L"btn_back", L"btn_prev", L"btn_next"})
            Add(name, 0);
        for (int32_t page = 1; page <= 3; ++page)
            Add<GxTaskUIRadioButtonIs>(L"btn_pageselect", page)->SetGroupID(3);
        for (int32_t slot = 0; slot < 25; ++slot)
            Add(L"btn_cgselect", slot, 100.0f * (slot % 5), 80.0f * (slot / 5));
    }
    const SeqExtraPage::PlateDraw* Plate(int32_t row)
    {
        m_Screen->Draw(2, 5);
        for (const auto& d : m_Screen->GetLastDraw())
            for (int32_t slot = 0; slot < 25; ++slot)
                if (Widget(L"btn_cgselect", slot)->GetValueAsInt() == row &&
                    d.m_X == Widget(L"btn_cgselect", slot)->GetPos().x &&
                    d.m_Y == Widget(L"btn_cgselect", slot)->GetPos().y)
                    return &d;
        return nullptr;
    }
};

} // namespace

TEST_F(Gallery, CompletionCountsShownPicturesOfTheWholeTable)
{
    Widgets();
    Open();
    EXPECT_EQ(m_Screen->GetCompletionText(), L"  0");
    m_Tree.Enter(m_Title);
    Entry(0, 1, 4);
    Entry(1, 1, 3);
    Entry(2, 2, 3);
    Shown(0, 0), Shown(1, 2), Shown(2, 1);
    m_Perman.m_ShowedCGFlags[L"unrelated"] = 1;
    m_Tree.Enter(m_Screen);
    EXPECT_EQ(m_Screen->GetPictureTotal(), 10);
    EXPECT_EQ(m_Screen->GetCompletionText(), L" 30");
    EXPECT_TRUE(m_Screen->IsCellShown(1, 2));
    EXPECT_EQ(m_Screen->GetLastPage(), 2);
}

TEST_F(Gallery, FigureAndPlateFollowTheEntry)
{
    Entry(0, 0, 1);
    Entry(1, 0, 3);
    Entry(2, 0, 2);
    Shown(0, 0), Shown(2, 1);
    Widgets();
    Open();
    ASSERT_EQ(m_Screen->GetPageEntries(), (std::vector<int32_t>{0, 1, 2}));
    const auto* one = Plate(0);
    ASSERT_TRUE(one);
    EXPECT_TRUE(one->m_Thumbnail);
    EXPECT_EQ(one->m_Image, L"th0");
    EXPECT_TRUE(one->m_Figure.empty());
    const auto* none = Plate(1);
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->m_Thumbnail);
    EXPECT_EQ(none->m_Image, L"tip_cgplate.png");
    EXPECT_EQ(none->m_Figure, L"0/3");
    EXPECT_FLOAT_EQ(none->m_FigureX, 100.0f + 100.0f - 8.0f * 3);
    EXPECT_FLOAT_EQ(none->m_FigureY, 0.0f + 60.0f + 1.0f);
    EXPECT_FALSE(Widget(L"btn_cgselect", 1)->IsEnabled());
    EXPECT_TRUE(Widget(L"btn_cgselect", 2)->IsEnabled());
    EXPECT_FALSE(Widget(L"btn_cgselect", 3)->IsVisible());
    EXPECT_EQ(Plate(2)->m_Figure, L"1/2");
}

TEST_F(Gallery, PagesWrapAndTheWheelPostsOneClickPerTurn)
{
    Entry(0, 1, 1);
    Entry(1, 2, 1);
    Entry(2, 3, 1);
    Widgets();
    Open();
    EXPECT_EQ(m_Screen->GetCurrentPage(), 0);
    EXPECT_TRUE(m_Screen->GetPageEntries().empty());
    const struct
    {
        const wchar_t* button;
        int32_t page;
    } steps[] = {{L"btn_prev", 3}, {L"btn_next", 1}, {L"btn_prev", 3}, {L"btn_next", 1}, {L"btn_next", 2}};
    for (const auto& step : steps)
    {
        Click(step.button);
        EXPECT_EQ(m_Screen->GetCurrentPage(), step.page);
        EXPECT_EQ(m_Screen->GetCheckedPage(), step.page);
        EXPECT_EQ(m_Screen->GetPageEntries(), (std::vector<int32_t>{step.page - 1}));
    }
    const float p[2] = {0, 0};
    for (const auto& [delta, page] : std::vector<std::pair<int32_t, int32_t>>{{60, 2}, {-119, 2}, {240, 1}, {-360, 2}})
    {
        m_Screen->OnMouseWheel(p, delta, 0);
        m_Tree.Step(0, 0);
        EXPECT_EQ(m_Screen->GetCurrentPage(), page) << delta;
    }
    // Re-entering keeps the page of the page button that is on.
    m_Tree.Enter(m_Title);
    m_Tree.Enter(m_Screen);
    EXPECT_EQ(m_Screen->GetCurrentPage(), 2);
}

TEST_F(Gallery, BackGoesToTheTitleAndAThumbnailOpensTheViewerOnItsEntry)
{
    Entry(7, 0, 2);
    Shown(7, 1);
    Widgets();
    Open();
    Click(L"btn_cgselect", 0);
    // Without a viewer the switch is logged and the screen stays.
    EXPECT_TRUE(m_Log.Contains(L"遷移先のシーケンスが見つかりません(SeqCGModeView)\n"));
    EXPECT_FALSE(m_Tree.manage.IsChangeSequencePending());
    new GxSeqBase(m_Tree.root, L"SeqCGModeView");
    Click(L"btn_cgselect", 0);
    EXPECT_EQ(Current(), L"SeqCGModeView");
    m_Tree.manage.ApplyPendingSequence();
    EXPECT_EQ(m_Tree.manage.GetCurrentParam(0), 7u);
    m_Tree.Enter(m_Screen);
    m_Tree.Step(0, 0);
    Click(L"btn_back");
    EXPECT_EQ(Current(), L"SeqTitle");
}

TEST_F(Gallery, MissingThumbnailIsLoggedOncePerEntryAndACountAbove32IsBounded)
{
    Entry(4, 1, 32, 40);
    Entry(5, 1, 2, -3);
    Shown(4, 31);
    Widgets();
    Open();
    EXPECT_EQ(SeqCGMode::ClampedCount(40), 32);
    EXPECT_EQ(SeqCGMode::ClampedCount(-3), 0);
    EXPECT_EQ(m_Screen->GetPictureTotal(), 32 + 2);
    EXPECT_EQ(m_Screen->GetShownCount(4), 1);
    EXPECT_EQ(g_DBCGMode.GetRow(4)->m_Count, 32);
    EXPECT_EQ(g_DBCGMode.GetRow(5)->m_Count, 2); // held at 0, then filled in
    size_t missing = 0;
    for (const std::wstring& line : m_Log.Lines())
        missing += line.find(L"CGモードサムネイル th4 (ID=4)") != std::wstring::npos;
    EXPECT_EQ(missing, 1u);
    Click(L"btn_pageselect", 1);
    Click(L"btn_next");
    EXPECT_EQ(m_Screen->GetCurrentPage(), 1);
}

TEST_F(Gallery, RegistersItsPageDrawInLayerFiveByItsKey)
{
    Widgets();
    Open();
    const GxTaskRenderManage& list = m_Tree.List(5);
    size_t own = 0;
    for (size_t i = 0; i < list.GetCount(); ++i)
    {
        if (list.GetEntry(i).task != m_Screen)
            continue;
        ++own;
        EXPECT_EQ(list.GetEntry(i).key, 10000.0f);
        EXPECT_EQ(list.GetEntry(i).param, 2);
        // Widgets (keys far below) come first, so the thumbnails lie over their buttons.
        EXPECT_EQ(i + 1, list.GetCount());
    }
    EXPECT_EQ(own, 1u);
}
