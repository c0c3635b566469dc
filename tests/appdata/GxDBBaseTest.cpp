#include "core/GxFile.h"

#include "../../tools/gxpack/GxPackWriter.h"
#include "DBTestSupport.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"

#include <gtest/gtest.h>

using namespace dbtest;

namespace
{

class GxDBBaseTest : public DBTest
{
protected:
    std::unique_ptr<DBAvgChar> m_Char = std::make_unique<DBAvgChar>();

    // A whole character row, its fields in column order joined by '|'.
    std::wstring Row(uint32_t id) const
    {
        const DBAvgCharData* r = m_Char->GetRow(id);
        return GxString::Format(L"%d|%s|%d|%s|%s|%s|%d|%s", r->m_ID, r->m_CharName.c_str(), r->m_SubLayerNum,
                                r->m_StandPath.c_str(), r->m_NCProjFileName.c_str(), r->m_VoicePath.c_str(),
                                r->m_VoiceVolumeID, r->m_Comment.c_str());
    }
};

} // namespace

TEST_F(GxDBBaseTest, MissingFileFailsAndLeavesRowsEmpty)
{
    std::wstring path = m_Folder.File(L"data/none.txt");
    EXPECT_FALSE(m_Char->Load(path));
    EXPECT_TRUE(m_Log.Contains(GxString::Format(L"File open error or not exist:%s\n", path.c_str())));
    EXPECT_EQ(m_Char->GetMaxID(), 0);
    EXPECT_TRUE(m_Char->GetRow(0)->m_CharName.empty());
    // Comment and empty lines load nothing, silently.
    EXPECT_TRUE(Load(*m_Char, L"#ID\tCharName\n\n\n#\n"));
    EXPECT_EQ(m_Char->GetMaxID(), 0);
    EXPECT_EQ(m_Log.Lines().size(), 1u);
}

TEST_F(GxDBBaseTest, RowIsAddressedByItsIdAndFieldsFollowColumnOrder)
{
    EXPECT_TRUE(Load(*m_Char, L"# header\r\n7\tミレイ\t3\tcg/st/mirei/\tmirei.gnc\tvoice/mirei/\t2\tメモ\r\n"));
    EXPECT_EQ(Row(7), L"7|ミレイ|3|cg/st/mirei/|mirei.gnc|voice/mirei/|2|メモ");
    EXPECT_EQ(m_Char->GetMaxID(), 7);
    EXPECT_EQ(m_Char->GetRow(6)->m_ID, 0);
}

// The cell conversion itself is GxString::ToInt's (tested with the core); here the table takes its automatic
// base for the ID and the cells, and an unsigned column wraps negative cells.
TEST_F(GxDBBaseTest, IntegerCellsUseAutomaticBase)
{
    EXPECT_TRUE(Load(*m_Char, L"0x0A\ta\t010\n2\ta\t\uFF0D3\n"));
    EXPECT_EQ(m_Char->GetRow(10)->m_SubLayerNum, 8);
    EXPECT_EQ(m_Char->GetRow(2)->m_SubLayerNum, -3);

    auto bgm = std::make_unique<DBBGMMode>();
    EXPECT_TRUE(Load(*bgm, L"1\tbgm01\tbgm01.ogg\t0x100\t2\n2\tbgm02\tbgm02.ogg\t-1\t3\n"));
    EXPECT_EQ(bgm->GetRow(1)->m_LoopPosTime, 256u);
    EXPECT_EQ(bgm->GetRow(2)->m_LoopPosTime, 0xFFFFFFFFu);
}

TEST_F(GxDBBaseTest, FloatCellsIgnoreTheProcessLocale)
{
    // The test program runs under a locale whose decimal point is a comma where one is installed.
    auto table = std::make_unique<DBUILayout>();
    EXPECT_TRUE(Load(*table, L"1\t$UI\t0\tbtn\tb\t0\t1\t1\t1\t12.5abc\t  -3.25\t\t0\n"
                             L"2\t$UI\t0\tbtn\tb\t0\t1\t1\t1\t1,5\tx\t1e3\t0\n"));
    const float expected[2][3] = {{12.5f, -3.25f, 0.0f}, {1.0f, 0.0f, 1000.0f}};
    for (uint32_t id = 1; id <= 2; ++id)
    {
        const DBUILayoutData* row = table->GetRow(id);
        EXPECT_FLOAT_EQ(row->m_Left, expected[id - 1][0]) << id;
        EXPECT_FLOAT_EQ(row->m_Top, expected[id - 1][1]) << id;
        EXPECT_FLOAT_EQ(row->m_OrderZ, expected[id - 1][2]) << id;
    }
}

TEST_F(GxDBBaseTest, QuotedCellsKeepTheirInnerText)
{
    EXPECT_TRUE(Load(*m_Char, L"1\t\"a\tb\"\t0\t'it\\'s' tail\t\"open\t 'x'\n"));
    // The TAB splits first, so a quoted cell never spans cells.
    EXPECT_EQ(Row(1), L"1|a|0|0|it\\'s|open|0|");
    // A quote after leading blanks is not recognised.
    EXPECT_TRUE(Load(*m_Char, L"2\t 'x'\n"));
    EXPECT_EQ(m_Char->GetRow(2)->m_CharName, L" 'x'");
}

TEST_F(GxDBBaseTest, DuplicateIdTakesTheLastLineEntirelyAndMissingOrExtraCellsAreQuiet)
{
    EXPECT_TRUE(Load(*m_Char, L"5\tfirst\t1\tstand/\tp.gnc\tv/\t3\tc\n5\tsecond\t2\n"
                              L"2\ta\t1\tb\tc\td\t2\te\textra\tmore\n"
                              L" \tblank\nname\tword\n")); // no numeric ID: row 0
    EXPECT_EQ(Row(5), L"5|second|2||||0|");
    EXPECT_EQ(Row(2), L"2|a|1|b|c|d|2|e");
    EXPECT_EQ(m_Char->GetRow(0)->m_CharName, L"word");
    ASSERT_EQ(m_Log.Lines().size(), 1u); // only the lines without an ID are named
    EXPECT_NE(m_Log.Lines()[0].find(L"2 lines from line 4 have no ID number"), std::wstring::npos);
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
    for (auto [id, name] : {std::pair{1u, L"btn_a"}, {2u, L"zor_b"}, {3u, L"btn_c"}, {200u, L"zor_menu"}})
        EXPECT_EQ(table->GetRow(id)->m_ModuleName, name);
    EXPECT_EQ(table->GetRow(2)->m_UIType, 30);
    EXPECT_EQ(table->GetMaxID(), 200);
    EXPECT_TRUE(table->Load(first)); // the highest ID only grows
    EXPECT_EQ(table->GetMaxID(), 200);
}

TEST_F(GxDBBaseTest, ArrayColumnTakesConsecutiveCellsAndColumnsAreQueriedByExactName)
{
    auto table = std::make_unique<DBCGMode>();
    std::wstring line = L"4\t1\tthumb";
    for (int i = 0; i < 32; ++i)
        line += GxString::Format(L"\tev%02d", i);
    EXPECT_TRUE(Load(*table, line + L"\t7\n"));
    const DBCGModeData* row = table->GetRow(4);
    EXPECT_EQ(row->m_Thumbnail, L"thumb");
    EXPECT_EQ(row->m_FileName[0], L"ev00");
    EXPECT_EQ(row->m_FileName[31], L"ev31");
    EXPECT_EQ(row->m_Count, 7);
    // Every table's known columns are checked against their published shape in DBTablesTest.
    EXPECT_EQ(table->GetFieldPtr(1, L"ID"), nullptr);
    EXPECT_EQ(table->GetColumnIndex(L"filename"), -1);
    EXPECT_EQ(table->GetColumnType(L"Nothing"), 0);
    EXPECT_EQ(table->GetColumnArrayMax(L"Nothing"), 0);
    EXPECT_EQ(table->GetFieldPtr(1, L"Nothing"), nullptr);
    EXPECT_EQ(table->GetFieldPtr(3, L"FileName"), &table->GetRow(3)->m_FileName[0]);
    EXPECT_EQ(table->GetFieldPtr(3, L"Count"), &table->GetRow(3)->m_Count);
}

TEST_F(GxDBBaseTest, OutOfRangeIdsAreRefusedOnLoadAndAnswerTheNoneRowOrNullOnAccess)
{
    EXPECT_FALSE(Load(*m_Char, L"-1\tminus\n"));
    EXPECT_TRUE(m_Log.Contains(L"DBAvgChar/ID out of range(-1)\n"));
    EXPECT_TRUE(m_Char->GetRow(0)->m_CharName.empty());
    auto unit = std::make_unique<DBZorUnit>();
    EXPECT_FALSE(Load(*unit, L"0xFFFFFFF0\tx\n99999999999\ty\n"));
    EXPECT_TRUE(m_Log.Contains(L"DBZorUnit/ID out of range(-16)\n"));

    EXPECT_TRUE(Load(*m_Char, L"0\tnone\n1\tone\n"));
    EXPECT_EQ(m_Char->GetRow(80), m_Char->GetRow(0));
    EXPECT_EQ(m_Char->GetRow(static_cast<uint32_t>(-1)), m_Char->GetRow(0));
    EXPECT_EQ(m_Char->GetRow(80)->m_CharName, L"none");
    EXPECT_TRUE(m_Log.Contains(L"DBAvgChar::GetRow/ID out of range(80)\n"));
    EXPECT_EQ(m_Char->GetFieldPtr(80, L"CharName"), nullptr);
    EXPECT_EQ(m_Char->GetFieldPtr(79, L"CharName"), &m_Char->GetRow(79)->m_CharName);
}

TEST_F(GxDBBaseTest, FindRowByNameAnswersTheFirstExactMatchOrZero)
{
    auto table = std::make_unique<DBBGMMode>();
    EXPECT_TRUE(Load(*table, L"3\tTheme\n5\ttheme\n7\tTheme\n"));
    // An empty name finds the first row whose Name is empty, row 0 here.
    for (auto [name, row] : {std::pair{L"Theme", 3}, {L"theme", 5}, {L"THEME", 0}, {L"", 0}})
        EXPECT_EQ(table->FindRowByName(name), row) << GxString::ToUtf8(name);
}

TEST_F(GxDBBaseTest, TableLoadsFromAMountedPack)
{
    GxPackWriter writer;
    writer.Add(L"kv_table_test/data/db_avgchar.txt", Encode(L"4\tパック\n", Encoding::Utf16LeBom));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(writer.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled));
    std::wstring pack = m_Folder.File(L"data.gxp");
    WriteBytes(pack, std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(GxFile::MountPack(pack));
    EXPECT_TRUE(m_Char->Load(L"kv_table_test/data/db_avgchar.txt"));
    GxFile::UnmountAll();
    EXPECT_EQ(m_Char->GetRow(4)->m_CharName, L"パック");
}

// Damage a table file suffers on its way to a player: each kind gets one error line naming the file,
// and whatever rows could be read stay.
TEST_F(GxDBBaseTest, DamagedFilesAreNamedInOneErrorLine)
{
    const std::wstring path = m_Folder.File(L"data/table.txt");
    const std::wstring fullRow = L"1\tone\t1\tstand/\tp.gnc\tv/\t3\tc\n";
    struct Case
    {
        const char* what;
        std::string bytes;
        bool loads;
        std::wstring line;
    };
    const Case cases[] = {
        {"empty file", "", false, L"File read error:" + path + L" (the file is empty)\n"},
        {"big-endian text", Encode(fullRow, Encoding::Utf16BeBom), false,
         L"File read error:" + path + L" (UTF-16 big-endian text is not read; save it as UTF-8 or UTF-16LE)\n"},
        {"cut inside a row", Encode(fullRow + L"2\ttwo\t1\tsta", Encoding::Utf8Bom), true,
         L"DBAvgChar/" + path + L" ends inside line 2 (4 of 8 cells): the file seems cut short\n"},
        {"cut in UTF-16LE", Encode(fullRow + L"2\ttwo", Encoding::Utf16LeBom), true,
         L"DBAvgChar/" + path + L" ends inside line 2 (2 of 8 cells): the file seems cut short\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_Char = std::make_unique<DBAvgChar>();
        const size_t before = m_Log.Lines().size();
        WriteBytes(path, c.bytes);
        EXPECT_EQ(m_Char->Load(path), c.loads);
        ASSERT_EQ(m_Log.Lines().size(), before + 1);
        EXPECT_EQ(m_Log.Lines().back(), c.line);
        if (c.loads)
        {
            EXPECT_EQ(m_Char->GetRow(1)->m_CharName, L"one");
        }
    }
    // A whole last line without a line end, and a short line that ends with one, are no damage.
    const size_t before = m_Log.Lines().size();
    EXPECT_TRUE(Load(*m_Char, fullRow + L"2\ttwo\t1\tstand/\tp.gnc\tv/\t3\tc"));
    EXPECT_TRUE(Load(*m_Char, fullRow + L"2\ttwo\n# comment without a line end"));
    EXPECT_EQ(m_Log.Lines().size(), before);
}

// A garbled table (here its text reversed, so no line starts with its ID) is named in one line with the
// count of its lines that have no ID, while the real rows still load.
TEST_F(GxDBBaseTest, LinesWithoutAnIdNumberAreNamedOnce)
{
    const std::wstring path = m_Folder.File(L"data/table.txt");
    std::wstring garbled = L"3\tthree\t1\tstand/\tp.gnc\tv/\t3\tc\n";
    std::wstring reversed(garbled.rbegin(), garbled.rend());
    const std::wstring text = L"#ID\tCharName\n1\tone\t1\n" + reversed + L"\n\tnone\t9\n2\ttwo\t2\n-\tx\n";
    const size_t before = m_Log.Lines().size();
    EXPECT_TRUE(Load(*m_Char, text));
    ASSERT_EQ(m_Log.Lines().size(), before + 1);
    EXPECT_EQ(m_Log.Lines().back(), L"DBAvgChar/" + path +
                                        L": 3 lines from line 4 have no ID number and were stored as row 0: the file "
                                        L"may be damaged\n");
    EXPECT_EQ(m_Char->GetRow(1)->m_CharName, L"one");
    EXPECT_EQ(m_Char->GetRow(2)->m_CharName, L"two");
}

// A table read from its file's bytes in memory takes the rows the file would give, in every encoding,
// and refuses what the file reader refuses (no bytes, a UTF-16BE signature) the same way.
TEST_F(GxDBBaseTest, BytesInMemoryLoadAsTheFileWould)
{
    const std::wstring text = L"#ID\tCharName\r\n3\tミレイ\t2\r\n\r\n5\t\"q\"\t1\r\n";
    for (Encoding encoding : {Encoding::Utf8Bom, Encoding::Utf16LeBom, Encoding::Cp932})
    {
        const std::string bytes = Encode(text, encoding);
        auto fromFile = std::make_unique<DBAvgChar>();
        std::swap(m_Char, fromFile);
        ASSERT_TRUE(Load(*m_Char, text, encoding));
        const std::wstring rows = Row(3) + L"/" + Row(5);
        std::swap(m_Char, fromFile);
        ASSERT_TRUE(m_Char->LoadFromMemory(bytes.data(), bytes.size()));
        EXPECT_EQ(Row(3) + L"/" + Row(5), rows);
        EXPECT_EQ(m_Char->GetMaxID(), 5);
    }
    auto empty = std::make_unique<DBAvgChar>();
    EXPECT_FALSE(empty->LoadFromMemory(nullptr, 0));
    const std::string bigEndian = Encode(L"1\tx\r\n", Encoding::Utf16BeBom);
    EXPECT_FALSE(empty->LoadFromMemory(bigEndian.data(), bigEndian.size()));
    EXPECT_FALSE(empty->LoadFromMemory("100\tx\n", 6));
    EXPECT_TRUE(m_Log.Contains(L"DBAvgChar/ID out of range(100)\n"));
}

// A NUL byte ends a table's text wherever it falls (over a row's ID digit, inside a row, in every
// encoding): one error line names the file and the NUL's line and says the rest is not read, the rows
// before it stay, and a NUL inside a row is not taken for a file cut short.
TEST_F(GxDBBaseTest, NulByteIsNamedWithItsLineWhereverItFalls)
{
    const std::wstring path = m_Folder.File(L"data/table.txt");
    const std::wstring head = L"#ID\tCharName\n1\tone\t1\tstand/\tp.gnc\tv/\t3\tc\n";
    const std::wstring tail = L"3\tthree\t1\tstand/\tp.gnc\tv/\t3\tc\n";
    struct Case
    {
        const char* what;
        std::wstring before, after;
        Encoding encoding;
        uint32_t line;
    };
    const Case cases[] = {
        {"over the ID digit", head, L"\tリリス\t1\tstand/\tp.gnc\tv/\t3\tc\n" + tail, Encoding::Utf8Bom, 3},
        {"inside a row", head + L"2\tリ", L"リス\t1\n" + tail, Encoding::Cp932, 3},
        {"UTF-16LE, first line", L"", head + tail, Encoding::Utf16LeBom, 1},
        {"UTF-16LE, after the rows", head + tail, L"", Encoding::Utf16LeBom, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const size_t signature = c.encoding == Encoding::Utf8Bom ? 3 : c.encoding == Encoding::Utf16LeBom ? 2 : 0;
        const std::string bytes = Encode(c.before, c.encoding) +
                                  std::string(c.encoding == Encoding::Utf16LeBom ? 2 : 1, '\0') +
                                  Encode(c.after, c.encoding).substr(signature);
        m_Char = std::make_unique<DBAvgChar>();
        const size_t before = m_Log.Lines().size();
        WriteBytes(path, bytes);
        EXPECT_TRUE(m_Char->Load(path));
        ASSERT_EQ(m_Log.Lines().size(), before + 1);
        EXPECT_EQ(m_Log.Lines().back(),
                  GxString::Format(L"File read error:%s (a NUL byte on line %u ends the text: what comes before it "
                                   L"is read, nothing after it)\n",
                                   path.c_str(), c.line));
        EXPECT_EQ(m_Char->GetRow(1)->m_CharName, c.line > 2 ? L"one" : L"");
        EXPECT_EQ(m_Char->GetRow(3)->m_CharName, c.line > 3 ? L"three" : L"");
    }
    // Bytes in memory are named the same way, by the table's class.
    const std::string bytes = Encode(head, Encoding::Utf8Bom) + std::string(1, '\0') + "3\tthree\n";
    EXPECT_TRUE(m_Char->LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(m_Log.Lines().back(), L"DBAvgChar/(memory): a NUL byte on line 3 ends the text: what comes before it "
                                    L"is read, nothing after it\n");
}

// The character table of the fuzz corpus (its seed's first byte chooses the table) with 4 MiB of empty
// lines after it, as a padded or garbled copy may have: the same rows load, and the load holds about the
// file, not a string for each of its lines.
TEST_F(GxDBBaseTest, EmptyLinesCostAboutTheirBytes)
{
    const std::string seed = kvtest::CorpusSeedBytes("fuzz_DataTable/db_avgchar.txt").substr(1);
    ASSERT_FALSE(seed.empty());
    const std::wstring path = m_Folder.File(L"data/table.txt");
    auto rows = [&]()
    {
        std::wstring all;
        for (int32_t id = 0; id < m_Char->GetCapacity(); ++id)
            all += Row(static_cast<uint32_t>(id)) + L"\n";
        return all;
    };
    WriteBytes(path, seed);
    ASSERT_TRUE(m_Char->Load(path));
    ASSERT_GT(m_Char->GetMaxID(), 0);
    const std::wstring seedRows = rows();

    const std::string padded = seed + std::string(size_t{4} << 20, '\n');
    WriteBytes(path, padded);
    m_Char = std::make_unique<DBAvgChar>();
    bool loaded = false;
    uint64_t peakBytes = 0;
    {
        KvHeapPeak peak;
        loaded = m_Char->Load(path);
        peakBytes = peak.Bytes();
    }
    EXPECT_TRUE(loaded);
    EXPECT_LT(peakBytes, 2 * padded.size());
    EXPECT_EQ(rows(), seedRows);
}
