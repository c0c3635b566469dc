#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorUnit.h"

#include "core/GxFile.h"

#include "../../tools/gxpack/GxPackWriter.h"
#include "DBTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace dbtest;

namespace
{

class GxDBBaseTest : public ::testing::Test
{
protected:
    TempFolder m_Folder;
    LogCapture m_Log{m_Folder};

    std::wstring Write(const std::wstring& text, Encoding encoding = Encoding::Utf8Bom)
    {
        std::wstring path = m_Folder.File(L"data/table.txt");
        WriteText(path, text, encoding);
        return path;
    }
};

} // namespace

TEST_F(GxDBBaseTest, MissingFileFailsAndLeavesRowsEmpty)
{
    auto table = std::make_unique<DBAvgChar>();
    std::wstring path = m_Folder.File(L"data/none.txt");
    EXPECT_FALSE(table->Load(path));
    EXPECT_TRUE(m_Log.Contains(GxString::Format(L"File open error or not exist:%s\n", path.c_str())));
    EXPECT_EQ(table->GetMaxID(), 0);
    EXPECT_TRUE(table->GetRow(0)->m_CharName.empty());
}

TEST_F(GxDBBaseTest, CommentAndEmptyLinesLoadNothing)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"#ID\tCharName\n\n\n#\n")));
    EXPECT_EQ(table->GetMaxID(), 0);
    EXPECT_TRUE(m_Log.Lines().empty());
}

TEST_F(GxDBBaseTest, RowIsAddressedByItsIdAndFieldsFollowColumnOrder)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"# header\r\n7\tミレイ\t3\tcg/st/mirei/\tmirei.gnc\tvoice/mirei/\t2\tメモ\r\n")));
    const DBAvgCharData* row = table->GetRow(7);
    EXPECT_EQ(row->m_ID, 7);
    EXPECT_EQ(row->m_CharName, L"ミレイ");
    EXPECT_EQ(row->m_SubLayerNum, 3);
    EXPECT_EQ(row->m_StandPath, L"cg/st/mirei/");
    EXPECT_EQ(row->m_NCProjFileName, L"mirei.gnc");
    EXPECT_EQ(row->m_VoicePath, L"voice/mirei/");
    EXPECT_EQ(row->m_VoiceVolumeID, 2);
    EXPECT_EQ(row->m_Comment, L"メモ");
    EXPECT_EQ(table->GetMaxID(), 7);
    EXPECT_EQ(table->GetRow(6)->m_ID, 0);
}

TEST_F(GxDBBaseTest, IntegerCellsUseAutomaticBase)
{
    // SubLayerNum of rows 1 to 8 holds each spelling; row 9 has full-width signs.
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"1\ta\t0x10\n"
                                  L"2\ta\t010\n"
                                  L"3\ta\t09\n"
                                  L"4\ta\t-5\n"
                                  L"5\ta\t12abc\n"
                                  L"6\ta\t\uFF0D3\n"
                                  L"7\ta\t\uFF0B5\n"
                                  L"8\ta\t  0b101\n"
                                  L"9\ta\tword\n"
                                  L"0x0A\ta\t1\n")));
    EXPECT_EQ(table->GetRow(1)->m_SubLayerNum, 16);
    EXPECT_EQ(table->GetRow(2)->m_SubLayerNum, 8);
    EXPECT_EQ(table->GetRow(3)->m_SubLayerNum, 0);
    EXPECT_EQ(table->GetRow(4)->m_SubLayerNum, -5);
    EXPECT_EQ(table->GetRow(5)->m_SubLayerNum, 12);
    EXPECT_EQ(table->GetRow(6)->m_SubLayerNum, -3);
    EXPECT_EQ(table->GetRow(7)->m_SubLayerNum, 5);
    EXPECT_EQ(table->GetRow(8)->m_SubLayerNum, 5);
    EXPECT_EQ(table->GetRow(9)->m_SubLayerNum, 0);
    EXPECT_EQ(table->GetRow(10)->m_SubLayerNum, 1);
}

TEST_F(GxDBBaseTest, UnsignedColumnReadsLikeInteger)
{
    auto table = std::make_unique<DBBGMMode>();
    EXPECT_TRUE(table->Load(Write(L"1\tbgm01\tbgm01.ogg\t0x100\t2\n2\tbgm02\tbgm02.ogg\t-1\t3\n")));
    EXPECT_EQ(table->GetRow(1)->m_LoopPosTime, 256u);
    EXPECT_EQ(table->GetRow(2)->m_LoopPosTime, 0xFFFFFFFFu);
    EXPECT_EQ(table->GetColumnType(L"LoopPosTime"), 6);
}

TEST_F(GxDBBaseTest, FloatCellsIgnoreTheProcessLocale)
{
    // The test program runs under a locale whose decimal point is a comma where one is installed.
    auto table = std::make_unique<DBUILayout>();
    EXPECT_TRUE(table->Load(Write(L"1\t$UI\t0\tbtn\tb\t0\t1\t1\t1\t12.5abc\t  -3.25\t\t0\n"
                                  L"2\t$UI\t0\tbtn\tb\t0\t1\t1\t1\t1,5\tx\t1e3\t0\n")));
    EXPECT_FLOAT_EQ(table->GetRow(1)->m_Left, 12.5f);
    EXPECT_FLOAT_EQ(table->GetRow(1)->m_Top, -3.25f);
    EXPECT_FLOAT_EQ(table->GetRow(1)->m_OrderZ, 0.0f);
    EXPECT_FLOAT_EQ(table->GetRow(2)->m_Left, 1.0f);
    EXPECT_FLOAT_EQ(table->GetRow(2)->m_Top, 0.0f);
    EXPECT_FLOAT_EQ(table->GetRow(2)->m_OrderZ, 1000.0f);
}

TEST_F(GxDBBaseTest, QuotedCellsKeepTheirInnerText)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"1\t\"a\tb\"\t0\t'it\\'s' tail\t\"open\t 'x'\n")));
    // The TAB splits first, so a quoted cell never spans cells.
    EXPECT_EQ(table->GetRow(1)->m_CharName, L"a");
    EXPECT_EQ(table->GetRow(1)->m_SubLayerNum, 0);
    EXPECT_EQ(table->GetRow(1)->m_NCProjFileName, L"it\\'s");
    EXPECT_EQ(table->GetRow(1)->m_VoicePath, L"open");
    EXPECT_EQ(table->GetRow(1)->m_VoiceVolumeID, 0);
    EXPECT_EQ(table->GetRow(1)->m_Comment, L"");
    // A quote after leading blanks is not recognised.
    EXPECT_TRUE(table->Load(Write(L"2\t 'x'\n")));
    EXPECT_EQ(table->GetRow(2)->m_CharName, L" 'x'");
}

TEST_F(GxDBBaseTest, NegativeOrHugeIdIsRefusedWithoutWritingOutsideTheRows)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_FALSE(table->Load(Write(L"-1\tminus\n")));
    EXPECT_TRUE(m_Log.Contains(L"DBAvgChar/ID out of range(-1)\n"));
    EXPECT_TRUE(table->GetRow(0)->m_CharName.empty());
    auto unit = std::make_unique<DBZorUnit>();
    EXPECT_FALSE(unit->Load(Write(L"0xFFFFFFF0\tx\n99999999999\ty\n")));
    EXPECT_TRUE(m_Log.Contains(L"DBZorUnit/ID out of range(-16)\n"));
}

TEST_F(GxDBBaseTest, DuplicateIdTakesTheLastLineEntirely)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"5\tfirst\t1\tstand/\tp.gnc\tv/\t3\tc\n5\tsecond\t2\n")));
    EXPECT_EQ(table->GetRow(5)->m_CharName, L"second");
    EXPECT_EQ(table->GetRow(5)->m_SubLayerNum, 2);
    EXPECT_TRUE(table->GetRow(5)->m_StandPath.empty());
    EXPECT_EQ(table->GetRow(5)->m_VoiceVolumeID, 0);
}

TEST_F(GxDBBaseTest, SecondFileMergesIntoTheSameIdSpace)
{
    auto table = std::make_unique<DBUIModule>();
    std::wstring first = m_Folder.File(L"data/db_uimodule.txt");
    std::wstring second = m_Folder.File(L"data/db_uimodule_zor.txt");
    WriteText(first, L"1\t18\tbtn_a\n2\t18\tbtn_b\n3\t18\tbtn_c\n");
    WriteText(second, L"2\t30\tzor_b\n200\t40\tzor_menu\n");
    EXPECT_TRUE(table->Load(first));
    EXPECT_TRUE(table->Load(second));
    EXPECT_EQ(table->GetRow(1)->m_ModuleName, L"btn_a");
    EXPECT_EQ(table->GetRow(2)->m_ModuleName, L"zor_b");
    EXPECT_EQ(table->GetRow(2)->m_UIType, 30);
    EXPECT_EQ(table->GetRow(3)->m_ModuleName, L"btn_c");
    EXPECT_EQ(table->GetRow(200)->m_ModuleName, L"zor_menu");
    EXPECT_EQ(table->GetMaxID(), 200);
    // The highest ID only grows.
    EXPECT_TRUE(table->Load(first));
    EXPECT_EQ(table->GetMaxID(), 200);
}

TEST_F(GxDBBaseTest, MissingCellsAreEmptyAndExtraCellsIgnored)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"1\tshort\t4\n2\ta\t1\tb\tc\td\t2\te\textra\tmore\n")));
    EXPECT_EQ(table->GetRow(1)->m_SubLayerNum, 4);
    EXPECT_TRUE(table->GetRow(1)->m_StandPath.empty());
    EXPECT_EQ(table->GetRow(1)->m_VoiceVolumeID, 0);
    EXPECT_EQ(table->GetRow(2)->m_Comment, L"e");
    EXPECT_TRUE(m_Log.Lines().empty());
}

TEST_F(GxDBBaseTest, LineWithoutNumericIdIsStoredAsRowZero)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L" \tblank\nname\tword\n")));
    EXPECT_EQ(table->GetRow(0)->m_CharName, L"word");
}

TEST_F(GxDBBaseTest, ArrayColumnTakesConsecutiveCells)
{
    auto table = std::make_unique<DBCGMode>();
    std::wstring line = L"4\t1\tthumb";
    for (int i = 0; i < 32; ++i)
        line += GxString::Format(L"\tev%02d", i);
    line += L"\t7\n";
    EXPECT_TRUE(table->Load(Write(line)));
    const DBCGModeData* row = table->GetRow(4);
    EXPECT_EQ(row->m_Thumbnail, L"thumb");
    EXPECT_EQ(row->m_FileName[0], L"ev00");
    EXPECT_EQ(row->m_FileName[31], L"ev31");
    EXPECT_EQ(row->m_Count, 7);
}

// Every table's known columns are checked against their published shape in DBTablesTest.
TEST_F(GxDBBaseTest, ColumnQueriesByName)
{
    auto table = std::make_unique<DBCGMode>();
    EXPECT_EQ(table->GetFieldPtr(1, L"ID"), nullptr);
    EXPECT_EQ(table->GetColumnIndex(L"filename"), -1);
    EXPECT_EQ(table->GetColumnType(L"Nothing"), 0);
    EXPECT_EQ(table->GetColumnArrayMax(L"Nothing"), 0);
    EXPECT_EQ(table->GetFieldPtr(1, L"Nothing"), nullptr);
    EXPECT_EQ(table->GetFieldPtr(3, L"FileName"), &table->GetRow(3)->m_FileName[0]);
    EXPECT_EQ(table->GetFieldPtr(3, L"Count"), &table->GetRow(3)->m_Count);
}

TEST_F(GxDBBaseTest, OutOfRangeIndicesAnswerTheNoneRowOrNull)
{
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(Write(L"0\tnone\n1\tone\n")));
    EXPECT_EQ(table->GetRow(80), table->GetRow(0));
    EXPECT_EQ(table->GetRow(static_cast<uint32_t>(-1)), table->GetRow(0));
    EXPECT_EQ(table->GetRow(80)->m_CharName, L"none");
    EXPECT_TRUE(m_Log.Contains(L"DBAvgChar::GetRow/ID out of range(80)\n"));
    EXPECT_EQ(table->GetFieldPtr(80, L"CharName"), nullptr);
    EXPECT_EQ(table->GetFieldPtr(79, L"CharName"), &table->GetRow(79)->m_CharName);
}

TEST_F(GxDBBaseTest, FindRowByNameAnswersTheFirstExactMatchOrZero)
{
    auto table = std::make_unique<DBBGMMode>();
    EXPECT_TRUE(table->Load(Write(L"3\tTheme\n5\ttheme\n7\tTheme\n")));
    EXPECT_EQ(table->FindRowByName(L"Theme"), 3);
    EXPECT_EQ(table->FindRowByName(L"theme"), 5);
    EXPECT_EQ(table->FindRowByName(L"THEME"), 0);
    // An empty name finds the first row whose Name is empty, row 0 here.
    EXPECT_EQ(table->FindRowByName(L""), 0);
}

TEST_F(GxDBBaseTest, TableLoadsFromAMountedPack)
{
    GxPackWriter writer;
    writer.Add(L"kv_table_test/data/db_avgchar.txt", dbtest::Encode(L"4\tパック\n", Encoding::Utf16LeBom));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(writer.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled));
    std::wstring pack = m_Folder.File(L"data.gxp");
    WriteBytes(pack, std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(GxFile::MountPack(pack));
    auto table = std::make_unique<DBAvgChar>();
    EXPECT_TRUE(table->Load(L"kv_table_test/data/db_avgchar.txt"));
    GxFile::UnmountAll();
    EXPECT_EQ(table->GetRow(4)->m_CharName, L"パック");
}
