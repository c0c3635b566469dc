// Font maps: which codes get a cell, cell widths at fixed pitch, rows and pages filling up, glyphs
// rasterised into their page once, and the text drawer's pen.
#include "GraphicsTestSupport.h"

#include "core/GxVector2.h"
#include "graphics/GxDrawRecorder.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxTextureText.h"

// Placement needs no device: pages that cannot be created are laid out as full-size pages.
TEST(GxGDIFontMap, ControlCodesGiveTheEmptyGlyph)
{
    GxGDIFontMap map;
    for (uint32_t code : {0u, 10u, 31u, 127u, 140u, 159u, 0xE000u, 0xF8FFu})
    {
        const GxGDIFontGlyph g = map.GetGlyph(code);
        EXPECT_EQ(g.m_pTexture, nullptr) << code;
        EXPECT_EQ(g.m_Width + g.m_Height + g.m_Units, 0u) << code;
    }
    EXPECT_EQ(map.GetGlyphCount(), 0u);
    EXPECT_NE(map.GetGlyph(32).m_pTexture, nullptr);
    EXPECT_NE(map.GetGlyph(160).m_pTexture, nullptr);
    EXPECT_EQ(map.GetGlyphCount(), 2u);
}

TEST(GxGDIFontMap, HalfWidthCellsAreHalfTheSize)
{
    GxGDIFontMap map;
    map.SetFont(16, nullptr);
    EXPECT_EQ(map.GetFace(), L"ＭＳ ゴシック");
    const GxGDIFontGlyph a = map.GetGlyph(L'A');
    KvExpectEq<uint32_t>({{a.m_X, 0}, {a.m_Width, 8}, {a.m_Height, 16}, {a.m_Units, 1}});
    const GxGDIFontGlyph hira = map.GetGlyph(0x3042);
    KvExpectEq<uint32_t>({{hira.m_X, 8}, {hira.m_Width, 16}, {hira.m_Units, 2}});
    KvExpectEq<float>({{hira.m_Left, 8.0f / 512}, {hira.m_Right, 24.0f / 512}, {hira.m_Bottom, 16.0f / 512}});
    // Asked again: the same cell, nothing new placed.
    const GxGDIFontGlyph again = map.GetGlyph(L'A');
    EXPECT_EQ(again.m_X, a.m_X);
    EXPECT_EQ(again.m_pTexture, a.m_pTexture);
    EXPECT_EQ(map.GetGlyph(L'B').m_X, 24u);
}

TEST(GxGDIFontMap, RowsWrapAndFullPagesOpenNewOnes)
{
    GxGDIFontMap map;
    map.SetFont(16, nullptr);
    // 31 full-width cells fill a row of 512: the 32nd would touch the right edge.
    uint32_t code = 0x4E00;
    for (int i = 0; i < 31; ++i)
        map.GetGlyph(code++);
    GxGDIFontGlyph g = map.GetGlyph(code++);
    KvExpectEq<uint32_t>({{g.m_X, 0}, {g.m_Y, 16}});
    // Rows continue while one more row fits above the bottom edge.
    GxTexture* firstPage = g.m_pTexture;
    while (g.m_pTexture == firstPage)
        g = map.GetGlyph(code++);
    KvExpectEq<uint32_t>({{map.GetPageCount(), 2}, {g.m_X, 0}, {g.m_Y, 0}, {code - 0x4E00, 31 * 31 + 1}});
    // A new size starts again from nothing.
    map.SetFont(24, L"IPAGothic");
    EXPECT_EQ(map.GetPageCount(), 0u);
    EXPECT_EQ(map.GetGlyph(L'A').m_Width, 12u);
    EXPECT_EQ(map.GetFace(), L"IPAGothic");
}

using GxGDIFontMapDrawn = KvGraphicsFixture;

TEST_F(GxGDIFontMapDrawn, GlyphsAreRasterisedIntoTheirCell)
{
    GxGDIFontMap map;
    map.SetFont(16, nullptr);
    const GxGDIFontGlyph a = map.GetGlyph(0x6F22);
    ASSERT_NE(a.m_pTexture, nullptr);
    ASSERT_NE(a.m_pTexture->GetD3DTexture(), nullptr);
    EXPECT_EQ(a.m_pTexture->GetFormat(), D3DFMT_A4R4G4B4);
    EXPECT_EQ(a.m_pTexture->GetWidth(), 512u);
    int inked = 0, outside = 0;
    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x)
        {
            const uint32_t p = a.m_pTexture->GetPixel(x, y);
            const bool inCell = x < 16 && y < 16;
            if (p >> 24)
                (inCell ? inked : outside)++;
        }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(outside, 0);
    // A space gets a cell but leaves it blank.
    const GxGDIFontGlyph space = map.GetGlyph(L' ');
    for (uint32_t x = space.m_X; x < space.m_X + space.m_Width; ++x)
        for (uint32_t y = 0; y < 16; ++y)
            EXPECT_EQ(space.m_pTexture->GetPixel(x, y) >> 24, 0u);
}

TEST_F(GxGDIFontMapDrawn, TextDrawerStartsANewLineOneSizeLower)
{
    GxGDIFontMap map;
    map.SetFont(20, nullptr);
    GxDrawRecorder recorder;
    GxGraphics::SetDrawRecorder(&recorder);
    GxGraphics::DrawText(&map,
                         L"A\nB\x3042"
                         L"C",
                         100, 50, GxVector2(2, 1), 0xFFFFFFFF, 0, 2);
    GxGraphics::SetDrawRecorder(nullptr);
    ASSERT_EQ(recorder.m_Primitives.size(), 4u);
    const auto& p = recorder.m_Primitives;
    // The hiragana cell is twice as wide as a letter's, scaled by 2.
    KvExpectEq<float>({{p[0].m_Vertices[0].x, 99.5f},
                       {p[1].m_Vertices[0].x, 99.5f},
                       {p[1].m_Vertices[0].y, 69.5f},
                       {p[2].m_Vertices[0].x, 99.5f + 2 * 10},
                       {p[3].m_Vertices[0].x, 99.5f + 2 * 30},
                       {p[2].m_Vertices[2].x - p[2].m_Vertices[0].x, 40.0f}});
    EXPECT_EQ(recorder.m_Primitives[0].m_pTexture, map.GetGlyph(L'A').m_pTexture->GetD3DTexture());
}
