#include "appdata/GxDBLookup.h"

#include "appdata/DBAvgChar.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"

#include "DBTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace dbtest;

namespace
{

// The lookups read the process-wide tables, so each test starts from empty ones and leaves empty ones.
void ResetTables()
{
    g_DBAvgChar = *std::make_unique<DBAvgChar>();
    g_DBCGMode = *std::make_unique<DBCGMode>();
    g_DBRPMode = *std::make_unique<DBRPMode>();
    g_DBUIModule = *std::make_unique<DBUIModule>();
    g_DBUILayout = *std::make_unique<DBUILayout>();
}

class GxDBLookupTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetTables(); }
    void TearDown() override { ResetTables(); }

    void Load(GxDBBase& table, const std::wstring& text)
    {
        std::wstring path = m_Folder.File(L"table.txt");
        WriteText(path, text);
        ASSERT_TRUE(table.Load(path));
    }

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

    TempFolder m_Folder;
    LogCapture m_Log{m_Folder};
};

} // namespace

TEST_F(GxDBLookupTest, FindAvgCharDataAnswersTheRowOrMinusOne)
{
    Load(g_DBAvgChar, L"2\tミレイ\n4\tゾルデ\n6\tミレイ\n");
    EXPECT_EQ(FindAvgCharData(L"ミレイ"), 2);
    EXPECT_EQ(FindAvgCharData(L"ゾルデ"), 4);
    EXPECT_EQ(FindAvgCharData(L"誰か"), -1);
    // Empty rows never match an empty name.
    EXPECT_EQ(FindAvgCharData(L""), -1);
    EXPECT_TRUE(m_Log.Lines().empty());
}

TEST_F(GxDBLookupTest, FindUIModuleDataAnswersTheRowOrNullWithAMessage)
{
    Load(g_DBUIModule, L"3\t18\tbtn_start\n9\t18\tbtn_Start\n");
    DBUIModuleData* row = FindUIModuleData(L"btn_Start");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->m_ID, 9);
    EXPECT_EQ(FindUIModuleData(L"btn_none"), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIモジュールデータ[btn_none]が見つかりません\n"));
    EXPECT_EQ(FindUIModuleData(L""), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIモジュールデータ[]が見つかりません\n"));
}

TEST_F(GxDBLookupTest, FindUILayoutDataAnswersTheRowOrNullWithAMessage)
{
    Load(g_DBUILayout, L"7\t$UI:SeqTitle\t0\tbtn_start\tbtn_start\t0\t1\t1\t1\t100\t200\t0\n");
    DBUILayoutData* row = FindUILayoutData(L"btn_start");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->m_ID, 7);
    EXPECT_FLOAT_EQ(row->m_Top, 200.0f);
    EXPECT_EQ(FindUILayoutData(L"btn_exit"), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"UIレイアウトデータ[btn_exit]が見つかりません\n"));
}

TEST_F(GxDBLookupTest, FindCGModeFileComparesBaseNamesWithoutCase)
{
    Load(g_DBCGMode, CGLine(1, {{0, L"ev00"}}, 0) + CGLine(5, {{0, L"ev01"}, {31, L"ev01a"}}, 0));
    int32_t row = -1, cell = -1;
    EXPECT_TRUE(FindCGModeFile(row, cell, L"cg/EV01A.png"));
    EXPECT_EQ(row, 5);
    EXPECT_EQ(cell, 31);
    // The base name is cut at the first dot.
    EXPECT_TRUE(FindCGModeFile(row, cell, L"cg\\ev\\ev01.b.png"));
    EXPECT_EQ(row, 5);
    EXPECT_EQ(cell, 0);
    EXPECT_FALSE(FindCGModeFile(row, cell, L"cg/ev99.png"));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(cell, 0);
}

TEST_F(GxDBLookupTest, UpdateCGModeCountsCountsNamedCellsOfEntriesWithoutCount)
{
    std::vector<std::pair<int, std::wstring>> all;
    for (int i = 0; i < 32; ++i)
        all.emplace_back(i, GxString::Format(L"p%d", i));
    Load(g_DBCGMode, CGLine(1, {{0, L"a"}, {1, L"b"}, {5, L"c"}}, 0) + CGLine(2, all, 0) +
                         CGLine(3, {{0, L"a"}, {1, L"b"}}, 9) + CGLine(4, {{3, L"late"}}, 0));
    UpdateCGModeCounts();
    EXPECT_EQ(g_DBCGMode.GetRow(1)->m_Count, 3);
    EXPECT_EQ(g_DBCGMode.GetRow(2)->m_Count, 32);
    EXPECT_EQ(g_DBCGMode.GetRow(3)->m_Count, 9);
    // An entry whose first cell is empty is left alone.
    EXPECT_EQ(g_DBCGMode.GetRow(4)->m_Count, 0);
}

TEST_F(GxDBLookupTest, IsReplayLabelMatchesNonEmptyLabelsExactly)
{
    Load(g_DBRPMode, L"1\t1\tthumb\tREPLAY_01\thelp\n2\t1\tthumb\t\thelp\n");
    EXPECT_TRUE(IsReplayLabel(L"REPLAY_01"));
    EXPECT_FALSE(IsReplayLabel(L"replay_01"));
    EXPECT_FALSE(IsReplayLabel(L""));
}
