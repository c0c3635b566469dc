// Bitmap-font glyph tables: the grid built for the system fonts, texture coordinates, widths, and
// description files, good and damaged.
#include "graphics/GxFontGlyphTable.h"

#include "ImageTestSupport.h"
#include "KvExpect.h"

#include "core/GxLog.h"

#include <gtest/gtest.h>

using kvimg::FontDescription;

namespace
{

// The glyph's cell corner as {x, y}, empty when the code has no entry.
std::vector<int> Cell(const GxFontGlyphTable& t, uint32_t code)
{
    const GxFontGlyphTable::Entry* e = t.GetEntry(code);
    return e ? std::vector<int>{(int)e->x, (int)e->y} : std::vector<int>{};
}

// The texture coordinates left, top, right, bottom of a glyph on a texture of width x height.
std::vector<float> UV(const GxFontGlyphTable& t, uint32_t code, uint32_t width, uint32_t height)
{
    float uv[4] = {1, 1, 1, 1};
    const bool found = t.GetGlyphUV(uv, code, width, height);
    EXPECT_TRUE(found || uv[0] + uv[1] + uv[2] + uv[3] == 0.0f) << "coordinates of a missing glyph not cleared";
    return found ? std::vector<float>(uv, uv + 4) : std::vector<float>{};
}

} // namespace

TEST(GxFontGlyphTable, SystemFontCellsRunSixteenToARow)
{
    GxFontGlyphTable t;
    ASSERT_TRUE(t.Build(L"FONT16SYS", 32, 126, 8, 16, 16, 128, 128));
    EXPECT_EQ(t.GetName(), L"FONT16SYS");
    EXPECT_EQ(Cell(t, 32), (std::vector<int>{0, 0}));
    EXPECT_EQ(Cell(t, 48), (std::vector<int>{0, 16}));
    EXPECT_EQ(Cell(t, 126), (std::vector<int>{112, 80}));
    for (uint32_t c = 32; c <= 126; ++c)
        EXPECT_EQ(t.GetCharWidth(c), 8u);
    EXPECT_EQ(UV(t, 126, 128, 128), (std::vector<float>{112.0f / 128, 80.0f / 128, 120.0f / 128, 96.0f / 128}));
    // A wide picture still divides the bottom by its own height.
    ASSERT_TRUE(t.Build(L"W", 32, 40, 8, 16, 16, 256, 32));
    EXPECT_EQ(UV(t, 33, 256, 32), (std::vector<float>{8.0f / 256, 0, 16.0f / 256, 16.0f / 32}));
}

TEST(GxFontGlyphTable, OutOfRangeCodesTakeTheCellWidthAndNoCoordinates)
{
    GxFontGlyphTable t;
    ASSERT_TRUE(t.Build(L"FONT24NUM", 47, 57, 24, 36, 5, 128, 128));
    EXPECT_EQ(Cell(t, 52), (std::vector<int>{0, 36}));
    EXPECT_FALSE(t.IsInRange(46));
    EXPECT_EQ(t.GetCharWidth(46), 24u);
    EXPECT_TRUE(UV(t, 46, 128, 128).empty());
    KvExpectEq<uint32_t>({{t.GetStringWidth(L""), 0}, {t.GetStringWidth(L"/0."), 24 * 3}});
    // The code is taken as 16 bits.
    EXPECT_TRUE(t.IsInRange(0x10000 + 50));
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
    EXPECT_EQ(t.GetName(), L"FILEFONT");
    KvExpectEq<uint32_t>({{t.GetFirstCode(), 65},
                          {t.GetLastCode(), 70},
                          {t.GetCellHeight(), 20},
                          {t.GetCharWidth(67), 5},
                          {t.GetStringWidth(L"AB"), 3 + 4}});
    EXPECT_EQ(Cell(t, 67), (std::vector<int>{20, 4}));
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
