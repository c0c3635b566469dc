#include "appdata/GxDBLookup.h"

#include "DBTestSupport.h"

#include <gtest/gtest.h>

using namespace dbtest;

namespace
{

// The lookups read the process-wide tables, so each test starts from empty ones and leaves empty ones.
class GxDBLookupTest : public DBTest
{
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override { ResetTables(g_DBAvgChar, g_DBCGMode, g_DBRPMode, g_DBUIModule, g_DBUILayout); }

    // A gallery line: entry id, then picture names in the given cells, then Count.
    static std::wstring CGLine(int id, const std::vector<std::pair<int, std::wstring>>& names, int count)
    {
        std::vector<std::wstring> cells(32);
        for (const auto& [cell, name] : names)
            cells[cell] = name;
        std::wstring line = GxString::FromInt(id) + L"\t1\tthumb";
        for (const std::wstring& cell : cells)
            line += L"\t" + cell;
        return line + L"\t" + GxString::FromInt(count) + L"\n";
    }
};

} // namespace

TEST_F(GxDBLookupTest, FindAvgCharDataAnswersTheRowOrMinusOneAndReplayLabelsMatchExactly)
{
    ASSERT_TRUE(Load(g_DBAvgChar, L"2\tミレイ\n4\tゾルデ\n6\tミレイ\n"));
    // Empty rows never match an empty name.
    for (auto [name, row] : {std::pair{L"ミレイ", 2}, {L"ゾルデ", 4}, {L"誰か", -1}, {L"", -1}})
        EXPECT_EQ(FindAvgCharData(name), row) << GxString::ToUtf8(name);
    EXPECT_TRUE(m_Log.Lines().empty());

    // Replay labels match when not empty, exactly.
    ASSERT_TRUE(Load(g_DBRPMode, L"1\t1\tthumb\tREPLAY_01\thelp\n2\t1\tthumb\t\thelp\n"));
    EXPECT_TRUE(IsReplayLabel(L"REPLAY_01"));
    EXPECT_FALSE(IsReplayLabel(L"replay_01"));
    EXPECT_FALSE(IsReplayLabel(L""));
}

TEST_F(GxDBLookupTest, FindUIModuleAndLayoutDataAnswerTheRowOrNullWithAMessage)
{
    ASSERT_TRUE(Load(g_DBUIModule, L"3\t18\tbtn_start\n9\t18\tbtn_Start\n"));
    ASSERT_NE(FindUIModuleData(L"btn_Start"), nullptr);
    EXPECT_EQ(FindUIModuleData(L"btn_Start")->m_ID, 9);
    EXPECT_EQ(FindUIModuleData(L"btn_none"), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIモジュールデータ[btn_none]が見つかりません\n"));
    EXPECT_EQ(FindUIModuleData(L""), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIモジュールデータ[]が見つかりません\n"));

    ASSERT_TRUE(Load(g_DBUILayout, L"7\t$UI:SeqTitle\t0\tbtn_start\tbtn_start\t0\t1\t1\t1\t100\t200\t0\n"));
    DBUILayoutData* row = FindUILayoutData(L"btn_start");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->m_ID, 7);
    EXPECT_FLOAT_EQ(row->m_Top, 200.0f);
    EXPECT_EQ(FindUILayoutData(L"btn_exit"), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIレイアウトデータ[btn_exit]が見つかりません\n"));
}

TEST_F(GxDBLookupTest, FindCGModeFileComparesBaseNamesWithoutCase)
{
    ASSERT_TRUE(Load(g_DBCGMode, CGLine(1, {{0, L"ev00"}}, 0) + CGLine(5, {{0, L"ev01"}, {31, L"ev01a"}}, 0)));
    const struct
    {
        const wchar_t* path;
        bool found;
        int32_t row, cell;
    } cases[] = {
        {L"cg/EV01A.png", true, 5, 31},
        {L"cg\\ev\\ev01.b.png", true, 5, 0}, // the base name is cut at the first dot
        {L"cg/ev99.png", false, 0, 0},
    };
    for (const auto& c : cases)
    {
        int32_t row = -1, cell = -1;
        EXPECT_EQ(FindCGModeFile(row, cell, c.path), c.found) << GxString::ToUtf8(c.path);
        EXPECT_EQ(row, c.row) << GxString::ToUtf8(c.path);
        EXPECT_EQ(cell, c.cell) << GxString::ToUtf8(c.path);
    }
}

TEST_F(GxDBLookupTest, UpdateCGModeCountsCountsNamedCellsOfEntriesWithoutCount)
{
    std::vector<std::pair<int, std::wstring>> all;
    for (int i = 0; i < 32; ++i)
        all.emplace_back(i, GxString::Format(L"p%d", i));
    ASSERT_TRUE(Load(g_DBCGMode, CGLine(1, {{0, L"a"}, {1, L"b"}, {5, L"c"}}, 0) + CGLine(2, all, 0) +
                                     CGLine(3, {{0, L"a"}, {1, L"b"}}, 9) + CGLine(4, {{3, L"late"}}, 0)));
    UpdateCGModeCounts();
    // An entry whose first cell is empty (4) is left alone.
    for (auto [id, count] : {std::pair{1u, 3}, {2u, 32}, {3u, 9}, {4u, 0}})
        EXPECT_EQ(g_DBCGMode.GetRow(id)->m_Count, count) << id;
}
