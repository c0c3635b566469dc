// Text drawn into locked surfaces: the alpha table, fixed-pitch advances and wrapping, glyph boxes
// replacing what lies under them, clipping on all four edges, 16-bit pixels and packed-font glyphs.
#include "graphics/GxTextRaster.h"

#include "graphics/GxPackedFont.h"

#include "KvExpect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

const wchar_t* const FACE = L"ＭＳ ゴシック";

// A surface of width x height inside a buffer with a guard band of 8 pixels on every side.
struct Guarded
{
    static constexpr uint32_t G = 8;
    uint32_t w, h, stride;
    std::vector<uint32_t> pixels;
    GxTextSurface surface;

    Guarded(uint32_t width, uint32_t height, uint32_t fill = 0)
        : w(width), h(height), stride(width + 2 * G), pixels((size_t)stride * (height + 2 * G), fill)
    {
        surface = {(uint8_t*)&pixels[(size_t)G * stride + G], stride * 4, width, height, D3DFMT_A8R8G8B8};
    }
    uint32_t At(int32_t x, int32_t y) const { return pixels[(size_t)(y + G) * stride + (x + G)]; }
    bool GuardUntouched(uint32_t fill) const
    {
        for (int32_t y = -(int32_t)G; y < (int32_t)(h + G); ++y)
            for (int32_t x = -(int32_t)G; x < (int32_t)(w + G); ++x)
            {
                const bool inside = x >= 0 && y >= 0 && x < (int32_t)w && y < (int32_t)h;
                if (!inside && At(x, y) != fill)
                    return false;
            }
        return true;
    }
    int CountAlpha() const
    {
        int n = 0;
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                n += (At(x, y) >> 24) != 0;
        return n;
    }
};

class TinyPackedFont : public GxPackedFont
{
public:
    // Cell height 4, two half-width columns, glyph 0 a solid 2 x 4 block of 15, glyph 1 empty.
    TinyPackedFont() : m_Pixels(8, 0)
    {
        for (int y = 0; y < 4; ++y)
            m_Pixels[y * 2] = 0xFF;
    }
    uint32_t GetCellHeight() const override { return 4; }
    uint32_t GetColumns() const override { return 2; }
    uint32_t GetPitch() const override { return 4; }
    uint32_t GetGlyphCount() const override { return m_Count; }
    uint32_t GetGlyphIndex(uint32_t code) const override { return code == 'A' ? 0 : code == 'B' ? 1 : 99; }
    const uint8_t* GetPixels() const override { return m_Pixels.data(); }
    size_t GetPixelBytes() const override { return m_Pixels.size(); }
    uint32_t m_Count = 2;
    std::vector<uint8_t> m_Pixels;
};

} // namespace

TEST(GxTextRaster, AlphaTableReachesFullAtLevel52)
{
    for (auto [level, alpha] : {std::pair{0, 0}, {1, 4}, {2, 9}, {26, 127}, {51, 250}, {52, 255}, {64, 255}})
        EXPECT_EQ(GxTextRaster::GetAlpha(level), alpha) << level;
}

TEST(GxTextRaster, AdvancesAreFixedPitchAndSpacesDrawNothing)
{
    Guarded g(256, 128);
    int32_t endX = -1, endY = -1;
    GxTextRaster::DrawText(g.surface, FACE, L"abc", 10, 5, 20, 0xFFFFFFFF, &endX, &endY);
    KvExpectEq<int32_t>({{endX, 40}, {endY, 5}});
    GxTextRaster::DrawText(g.surface, FACE, L"あい", 0, 30, 20, 0xFFFFFFFF, &endX, &endY);
    EXPECT_EQ(endX, 40);
    // Sizes above 64 draw at 64 and advance by it.
    GxTextRaster::DrawText(g.surface, FACE, L"ab", 0, 60, 80, 0xFFFFFFFF, &endX, &endY);
    EXPECT_EQ(endX, 64);
    EXPECT_GT(g.CountAlpha(), 100);
    EXPECT_TRUE(g.GuardUntouched(0));
    // Spaces advance and leave the surface alone.
    Guarded spaces(64, 32, 0x12345678);
    GxTextRaster::DrawText(spaces.surface, FACE, L" \x3000 ", 0, 0, 16, 0xFFFFFFFF, &endX, nullptr);
    EXPECT_EQ(endX, 32);
    for (uint32_t i = 0; i < 64 * 32; ++i)
        ASSERT_EQ(spaces.At(i % 64, i / 64), 0x12345678u) << i;
}

TEST(GxTextRaster, GlyphBoxReplacesWhatLayUnderIt)
{
    Guarded g(8, 8, 0xFFFFFFFF);
    const uint8_t gray[8] = {0, 26, 64, 0, 52, 0, 1, 0}; // 3 x 2, rows of 4
    GxTextRaster::BlendGlyph(g.surface, gray, 4, 3, 2, 2, 3, 0x80112233);
    // Transparent inside the box, not kept; the pitch padding (5, 3) is not drawn.
    KvExpectEq<uint32_t>({{g.At(2, 3), 0x00112233u},
                          {g.At(3, 3), 0x7F112233u},
                          {g.At(4, 3), 0xFF112233u},
                          {g.At(2, 4), 0xFF112233u},
                          {g.At(4, 4), 0x04112233u},
                          {g.At(5, 3), 0xFFFFFFFFu},
                          {g.At(1, 3), 0xFFFFFFFFu}});
}

TEST(GxTextRaster, GlyphsAreClippedOnAllFourEdges)
{
    std::vector<uint8_t> gray(8 * 8, 64);
    for (auto [x, y] : {std::pair{-5, -5}, {5, -5}, {-5, 5}, {5, 5}, {-20, 0}, {0, 30}})
    {
        Guarded g(10, 10);
        GxTextRaster::BlendGlyph(g.surface, gray.data(), 8, 8, 8, x, y, 0xFFFFFFFF);
        EXPECT_TRUE(g.GuardUntouched(0)) << x << "," << y;
    }
    Guarded g(10, 10);
    GxTextRaster::BlendGlyph(g.surface, gray.data(), 8, 8, 8, -5, -5, 0xFFFFFFFF);
    EXPECT_EQ(g.CountAlpha(), 9);
    // Whole glyphs from the face, pen far outside on the left and top.
    Guarded t(24, 24);
    GxTextRaster::DrawText(t.surface, FACE, L"漢W", -12, -12, 32, 0xFFFFFFFF, nullptr, nullptr);
    GxTextRaster::DrawText(t.surface, FACE, L"漢W", 12, 12, 32, 0xFFFFFFFF, nullptr, nullptr);
    EXPECT_TRUE(t.GuardUntouched(0));
    EXPECT_GT(t.CountAlpha(), 0);
}

TEST(GxTextRaster, SixteenBitPixelsKeepTheTopNibbles)
{
    std::vector<uint16_t> pixels(4 * 4, 0x1234);
    GxTextSurface s{(uint8_t*)pixels.data(), 8, 4, 4, D3DFMT_A4R4G4B4};
    const uint8_t gray[4] = {64, 26, 0, 0};
    GxTextRaster::BlendGlyph(s, gray, 4, 2, 1, 1, 1, 0xFF8040C0);
    KvExpectEq<uint16_t>({{pixels[5], 0xF84C}, {pixels[6], 0x784C}, {pixels[4], 0x1234}});
    // Other formats are not written.
    s.m_Format = D3DFMT_R5G6B5;
    GxTextRaster::BlendGlyph(s, gray, 4, 2, 1, 0, 0, 0xFF8040C0);
    EXPECT_EQ(pixels[0], 0x1234);
}

TEST(GxTextRaster, WrappingBreaksByUnitsAndOnHalfWidthBreaks)
{
    Guarded g(256, 128);
    int32_t endX = 0, endY = 0;
    // Line length 4 units: six letters break after the fourth.
    GxTextRaster::DrawTextWrapped(g.surface, FACE, L"abcdef", 10, 0, 10, 16, 4, 0xFFFFFFFF, 0, 2, &endX, &endY, L'\n');
    KvExpectEq<int32_t>({{endX, 10 + 16}, {endY, 18}});
    GxTextRaster::DrawTextWrapped(g.surface, FACE, L"ab\ncd", 0, 0, 4, 16, 40, 0xFFFFFFFF, 1, 0, &endX, &endY, L'\n');
    KvExpectEq<int32_t>({{endX, 4 + 2 * 9}, {endY, 16}});
    // A full-width break character is drawn like any other.
    GxTextRaster::DrawTextWrapped(g.surface, FACE, L"aあb", 0, 0, 0, 16, 40, 0xFFFFFFFF, 0, 0, &endX, &endY, L'あ');
    KvExpectEq<int32_t>({{endX, 32}, {endY, 0}});
}

TEST(GxTextRaster, PackedGlyphsPlainGlowAndEdge)
{
    TinyPackedFont font;
    Guarded g(16, 16);
    int32_t endX = 0;
    GxTextRaster::DrawPackedText(g.surface, font, L"AB?A", 2, 2, 0xFF102030, &endX, nullptr, 0, 0);
    EXPECT_EQ(endX, 2 + 4 * 2);
    // Glyph B is empty but drawn.
    KvExpectEq<uint32_t>(
        {{g.At(2, 2), 0xFF102030u}, {g.At(3, 5), 0xFF102030u}, {g.At(4, 2), 0x00102030u}, {g.At(8, 2), 0xFF102030u}});

    Guarded glow(16, 16);
    GxTextRaster::DrawPackedText(glow.surface, font, L"A", 0, 0, 0xFFFFFFFF, nullptr, nullptr, 1, 0);
    EXPECT_EQ(glow.At(0, 0) >> 24, 0xFFu);
    EXPECT_GT(glow.At(2, 1) >> 24, 0u);  // spread one pixel right of the block
    EXPECT_TRUE(glow.GuardUntouched(0)); // the margin left of the pen is clipped

    Guarded edge(16, 16);
    GxTextRaster::DrawPackedText(edge.surface, font, L"A", 4, 4, 0xFFFFFFFF, nullptr, nullptr, 2, 0xFF000000);
    EXPECT_EQ(edge.At(4, 4), 0xFFFFFFFFu);          // the glyph itself keeps the text colour
    EXPECT_EQ(edge.At(3, 4) & 0xFFFFFF, 0x000000u); // its edge takes the edge colour
    EXPECT_GT(edge.At(3, 4) >> 24, 0u);
    EXPECT_GT(edge.At(2, 5) >> 24, 0u); // two pixels out
}

TEST(GxTextRaster, PackedGlyphsOutsideThePixelDataAreRefused)
{
    TinyPackedFont font;
    font.m_Count = 10; // claims more glyphs than the pixel data holds
    Guarded g(16, 16);
    EXPECT_FALSE(GxTextRaster::DrawPackedGlyph(g.surface, font, 5, 1, 0, 0, 0xFFFFFFFF, 0, 0));
    EXPECT_FALSE(GxTextRaster::DrawPackedGlyph(g.surface, font, 1, 2, 0, 0, 0xFFFFFFFF, 0, 0));
    EXPECT_TRUE(GxTextRaster::DrawPackedGlyph(g.surface, font, 0, 1, 0, 0, 0xFFFFFFFF, 0, 0));
    EXPECT_EQ(g.CountAlpha(), 8);
}
