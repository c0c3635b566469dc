#include "FileTestSupport.h"

#include "core/GxKeyAssignment.h"
#include "core/GxLog.h"
#include "support/KvScopedWorkingDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One block of "key.ini" with the given values in its 24 lines (line numbers from 1).
static std::string Block(int deviceType, std::vector<int> keys, std::vector<int> pads)
{
    std::string s = "[player]\n" + std::to_string(deviceType) + "\n" + "keyboard\n";
    for (int k : keys)
        s += std::to_string(k) + "\n";
    s += "pad\n";
    for (int p : pads)
        s += std::to_string(p) + "\n";
    return s;
}

TEST(GxKeyAssignment, DefaultsWithoutAFile)
{
    GxKeyAssignment a;
    EXPECT_FALSE(a.Load("/nonexistent/key.ini"));
    for (int c = 0; c < 2; ++c)
    {
        EXPECT_EQ((std::vector<int>{a.m_Up[c], a.m_Down[c], a.m_Right[c], a.m_Left[c]}),
                  (std::vector<int>{200, 208, 205, 203}));
        EXPECT_EQ(a.m_Button[c][0], 44);
        EXPECT_EQ(a.m_Button[c][7], 33);
        EXPECT_EQ(a.m_PadButton[c][5], 5);
    }
    EXPECT_EQ(a.m_DeviceType[0], 0);
    EXPECT_EQ(a.m_DeviceType[1], 1);
}

TEST(GxKeyAssignment, BlocksSetTheirColumnsInTheFileOrder)
{
    GxKeyAssignment a;
    const std::string text = Block(2, {17, 31, 32, 30, 1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16});
    a.Parse(text.data(), text.size());
    EXPECT_EQ(a.m_DeviceType[0], 2);
    // Lines 4 to 7 are up, down, right and left.
    EXPECT_EQ((std::vector<int>{a.m_Up[0], a.m_Down[0], a.m_Right[0], a.m_Left[0]}),
              (std::vector<int>{17, 31, 32, 30}));
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(a.m_Button[0][i], i + 1);
        EXPECT_EQ(a.m_PadButton[0][i], i + 9);
    }
    // A file that ends after block 1 leaves column 2 alone.
    EXPECT_EQ(a.m_Up[1], 200);
    EXPECT_EQ(a.m_DeviceType[1], 1);
    // A second block sets column two.
    const std::string two = Block(0, {200, 208, 205, 203, 44, 45, 46, 47, 30, 31, 32, 33}, {0, 1, 2, 3, 4, 5, 6, 7}) +
                            Block(0, {72, 80, 77, 75, 57, 28, 1, 2, 3, 4, 5, 6}, {7, 6, 5, 4, 3, 2, 1, 0});
    a.Parse(two.data(), two.size());
    EXPECT_EQ(a.m_DeviceType[1], 0);
    EXPECT_EQ(a.m_Up[1], 72);
    EXPECT_EQ(a.m_Button[1][1], 28);
    EXPECT_EQ(a.m_PadButton[1][0], 7);
}

TEST(GxKeyAssignment, OutOfRangeCodesKeepTheirDefaults)
{
    GxKeyAssignment a;
    const std::string text =
        Block(0, {256, -1, 2147483647, 255, 1000, 0, 3, 4, 5, 6, 7, 8}, {128, -3, 127, 0, 0, 0, 0, 0});
    a.Parse(text.data(), text.size());
    EXPECT_EQ((std::vector<int>{a.m_Up[0], a.m_Down[0], a.m_Right[0], a.m_Left[0]}),
              (std::vector<int>{200, 208, 205, 255}));
    EXPECT_EQ(a.m_Button[0][0], 44);
    EXPECT_EQ(a.m_Button[0][1], 0);
    EXPECT_EQ((std::vector<int>{a.m_PadButton[0][0], a.m_PadButton[0][1], a.m_PadButton[0][2]}),
              (std::vector<int>{0, 1, 127}));
}

TEST(GxKeyAssignment, ValuesReadLikeAtoiAndOverlongLinesCountAsSeveral)
{
    GxKeyAssignment a;
    const std::string text = "title\n  2 players\nx\n  17abc\n\nword\n99999999999999999999\r\n";
    a.Parse(text.data(), text.size());
    EXPECT_EQ(a.m_DeviceType[0], 2);
    EXPECT_EQ(a.m_Up[0], 17);
    EXPECT_EQ(a.m_Down[0], 0);       // an empty line reads as 0
    EXPECT_EQ(a.m_Right[0], 0);      // so does a word
    EXPECT_EQ(a.m_Left[0], 203);     // an overlong number saturates and is out of range
    EXPECT_EQ(a.m_Button[0][0], 44); // past the end of the file
    // Line 1 of 300 characters is read as two lines of the file: 255 characters and the rest, so the
    // rest takes the place of line 2.
    GxKeyAssignment b;
    const std::string overlong = std::string(255, 'x') + "1" + std::string(44, 'y') + "\nignored\n2\n";
    b.Parse(overlong.data(), overlong.size());
    EXPECT_EQ(b.m_DeviceType[0], 1);
    EXPECT_EQ(b.m_Up[0], 2);
}

// The file is read through the file layer: a copy in a mounted pack, or a loose one whose name differs
// in case, is found like any other data file; a missing one is no error.
TEST(GxKeyAssignment, FileComesThroughTheFileLayer)
{
    const std::string text = Block(2, {17, 31, 32, 30, 1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16});
    KvTempDir dir;
    KvScopedWorkingDir inDir(dir.Path());
    GxLog::ResetErrorCount();
    {
        GxKeyAssignment a;
        EXPECT_FALSE(a.Load("key.ini"));
        EXPECT_EQ(a.m_Up[0], 200);
    }
    {
        GxPackWriter writer;
        writer.Add(L"key.ini", text);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(writer.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled));
        dir.Write("system.gxp", bytes);
        ASSERT_TRUE(GxFile::MountPack(L"system.gxp"));
        GxKeyAssignment a;
        EXPECT_TRUE(a.Load("key.ini"));
        GxFile::UnmountAll();
        EXPECT_EQ(a.m_Up[0], 17);
        EXPECT_EQ(a.m_DeviceType[0], 2);
    }
    {
        dir.Write("KEY.INI", text);
        GxKeyAssignment a;
        EXPECT_TRUE(a.Load("key.ini"));
        EXPECT_EQ(a.m_Left[0], 30);
    }
    EXPECT_EQ(GxLog::GetErrorCount(), 0);
}

// What a damaged "key.ini" reports: value lines with no number or one out of range, and a file that stops
// inside a block. A file that stops after a whole block is the format's own way to leave column 2 alone.
TEST(GxKeyAssignment, DamageIsReportedAndWholeBlocksAreNot)
{
    const std::string whole = Block(0, {200, 208, 205, 203, 44, 45, 46, 47, 30, 31, 32, 33}, {0, 1, 2, 3, 4, 5, 6, 7});
    std::string badValues = whole;
    badValues.replace(badValues.find("\n200\n") + 1, 3, "999");  // line 4: out of range
    badValues.replace(badValues.find("\n44\n") + 1, 2, "zz");    // line 8: no number, reads as 0
    struct Case
    {
        const char* what;
        std::string text;
        std::wstring report;
    };
    const Case cases[] = {
        {"one whole block", whole, L""},
        {"two whole blocks", whole + whole, L""},
        {"empty", "", L""},
        {"bad values", badValues,
         L"2 value line(s) hold no number, or one out of range that keeps its default (the first is line 4)"},
        {"device type 7", whole + Block(7, {200, 208, 205, 203, 44, 45, 46, 47, 30, 31, 32, 33}, {0, 1, 2, 3, 4, 5, 6, 7}),
         L"1 value line(s) hold no number, or one out of range that keeps its default (the first is line 26)"},
        {"cut inside block 2", whole + "[player]\n1\nkeyboard\n17\n",
         L"the file ends at line 28, inside block 2 of 24 lines: the rest keep their defaults"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        GxKeyAssignment a;
        EXPECT_EQ(a.Parse(c.text.data(), c.text.size()), c.report);
    }
    GxKeyAssignment a;
    a.Parse(badValues.data(), badValues.size());
    EXPECT_EQ(a.m_Up[0], 200);    // out of range: the default stays
    EXPECT_EQ(a.m_Button[0][0], 0); // no number: read as 0, as before
}
