// Bitmap-font glyph tables: the grid built for the system fonts, texture coordinates, widths, and
// description files, good and damaged.
#include "graphics/GxFontGlyphTable.h"

#include "ImageTestSupport.h"

#include "core/GxLog.h"

#include <gtest/gtest.h>

using kvimg::FontDescription;

TEST(GxFontGlyphTable, SystemFontCellsRunSixteenToARow)
{
    GxFontGlyphTable t;
    ASSERT_TRUE(t.Build(L"FONT16SYS", 32, 126, 8, 16, 16, 128, 128));
    EXPECT_EQ(t.GetName(), L"FONT16SYS");
    const GxFontGlyphTable::Entry* e = t.GetEntry(32);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->x, 0);
    EXPECT_EQ(e->y, 0);
    e = t.GetEntry(48);
    EXPECT_EQ(e->x, 0);
    EXPECT_EQ(e->y, 16);
    e = t.GetEntry(126);
    EXPECT_EQ(e->x, 112);
    EXPECT_EQ(e->y, 80);
    for (uint32_t c = 32; c <= 126; ++c)
        EXPECT_EQ(t.GetCharWidth(c), 8u);
    float uv[4];
    ASSERT_TRUE(t.GetGlyphUV(uv, 126, 128, 128));
    EXPECT_FLOAT_EQ(uv[0], 112.0f / 128);
    EXPECT_FLOAT_EQ(uv[1], 80.0f / 128);
    EXPECT_FLOAT_EQ(uv[2], 120.0f / 128);
    EXPECT_FLOAT_EQ(uv[3], 96.0f / 128);
}

TEST(GxFontGlyphTable, OutOfRangeCodesTakeTheCellWidthAndNoCoordinates)
{
    GxFontGlyphTable t;
    ASSERT_TRUE(t.Build(L"FONT24NUM", 47, 57, 24, 36, 5, 128, 128));
    EXPECT_EQ(t.GetEntry(52)->x, 0);
    EXPECT_EQ(t.GetEntry(52)->y, 36);
    EXPECT_FALSE(t.IsInRange(46));
    EXPECT_EQ(t.GetCharWidth(46), 24u);
    float uv[4] = {1, 1, 1, 1};
    EXPECT_FALSE(t.GetGlyphUV(uv, 46, 128, 128));
    EXPECT_EQ(uv[0] + uv[1] + uv[2] + uv[3], 0.0f);
    EXPECT_EQ(t.GetStringWidth(L""), 0u);
    EXPECT_EQ(t.GetStringWidth(L"/0."), 24u * 3);
    // The code is taken as 16 bits.
    EXPECT_TRUE(t.IsInRange(0x10000 + 50));
}

TEST(GxFontGlyphTable, WideImageStillDividesTheBottomByItsHeight)
{
    GxFontGlyphTable t;
    ASSERT_TRUE(t.Build(L"W", 32, 40, 8, 16, 16, 256, 32));
    float uv[4];
    ASSERT_TRUE(t.GetGlyphUV(uv, 33, 256, 32));
    EXPECT_FLOAT_EQ(uv[0], 8.0f / 256);
    EXPECT_FLOAT_EQ(uv[3], 16.0f / 32);
}

TEST(GxFontGlyphTable, BuildRefusesZeroColumnsAndReversedRange)
{
    GxLog::ResetErrorCount();
    GxFontGlyphTable t;
    EXPECT_FALSE(t.Build(L"X", 32, 126, 8, 16, 0, 128, 128));
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_FALSE(t.Build(L"X", 60, 50, 8, 16, 4, 128, 128));
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(GxLog::GetErrorCount(), 2u);
}

TEST(GxFontGlyphTable, DescriptionFileGivesItsOwnEntries)
{
    std::vector<uint8_t> file = FontDescription(65, 70, 6);
    GxFontGlyphTable t;
    ASSERT_TRUE(t.Read(file.data(), file.size(), L"font.fnt"));
    EXPECT_EQ(t.GetFirstCode(), 65u);
    EXPECT_EQ(t.GetLastCode(), 70u);
    EXPECT_EQ(t.GetCellHeight(), 20u);
    EXPECT_EQ(t.GetName(), L"FILEFONT");
    EXPECT_EQ(t.GetCharWidth(67), 5u);
    EXPECT_EQ(t.GetEntry(67)->x, 20);
    EXPECT_EQ(t.GetEntry(67)->y, 4);
    EXPECT_EQ(t.GetStringWidth(L"AB"), 3u + 4u);
}

TEST(GxFontGlyphTable, DamagedDescriptionFilesAreRefused)
{
    GxLog::ResetErrorCount();
    GxFontGlyphTable t;
    std::vector<uint8_t> shortTable = FontDescription(65, 70, 5); // one entry missing
    EXPECT_FALSE(t.Read(shortTable.data(), shortTable.size(), L"short.fnt"));
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_FALSE(t.IsInRange(65));
    std::vector<uint8_t> reversed = FontDescription(70, 65, 6);
    EXPECT_FALSE(t.Read(reversed.data(), reversed.size(), L"reversed.fnt"));
    std::vector<uint8_t> huge = FontDescription(0, 0xFFFFFFFF, 2);
    EXPECT_FALSE(t.Read(huge.data(), huge.size(), L"huge.fnt"));
    std::vector<uint8_t> header = FontDescription(65, 70, 6);
    EXPECT_FALSE(t.Read(header.data(), 95, L"header.fnt"));
    EXPECT_FALSE(t.Read(nullptr, 0, L"none.fnt"));
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(GxLog::GetErrorCount(), 5u);
}
