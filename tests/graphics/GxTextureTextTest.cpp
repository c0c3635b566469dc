// Text textures on a device: text drawn into the texture, image-font cells copied, progressive text with
// colour tags and clearing.
#include "GraphicsTestSupport.h"

#include "graphics/GxImageFontParam.h"
#include "graphics/GxTextureText.h"
#include "graphics/GxTextureTextEx.h"

#include <tuple>

namespace
{

class GxTextureTextTest : public KvGraphicsFixture
{
protected:
    // Pixels of a rectangle with some alpha, and whether every one of them has the colour's RGB.
    static int Inked(GxTexture& t, uint32_t l, uint32_t top, uint32_t r, uint32_t b, uint32_t rgb = 0,
                     bool* allRgb = nullptr)
    {
        int n = 0;
        if (allRgb)
            *allRgb = true;
        for (uint32_t y = top; y < b; ++y)
            for (uint32_t x = l; x < r; ++x)
            {
                const uint32_t p = t.GetPixel(x, y);
                if ((p >> 24) == 0)
                    continue;
                ++n;
                if (allRgb && (p & 0xFFFFFF) != rgb)
                    *allRgb = false;
            }
        return n;
    }
};

} // namespace

TEST_F(GxTextureTextTest, TextIsDrawnIntoTheTextureAtFixedPitch)
{
    GxTextureText t;
    ASSERT_TRUE(t.CreateTexture(L"text", 256, 64, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(t.Fill(0));
    int32_t endX = 0, endY = 0;
    EXPECT_TRUE(t.DrawText(L"漢A", 10, 20, 20, 0xFF00FF00, &endX, &endY));
    KvExpectEq<int32_t>({{endX, 40}, {endY, 20}});
    bool green = false;
    EXPECT_GT(Inked(t, 10, 20, 30, 40, 0x00FF00, &green), 30);
    EXPECT_TRUE(green);
    EXPECT_GT(Inked(t, 30, 20, 40, 40), 10);
    EXPECT_EQ(Inked(t, 0, 0, 256, 18) + Inked(t, 42, 0, 256, 64), 0);
    // Without a device texture nothing is drawn.
    GxTextureText empty;
    EXPECT_FALSE(empty.DrawText(L"A", 0, 0, 16, 0xFFFFFFFF, nullptr, nullptr));
    EXPECT_FALSE(empty.DrawImageTextA("A", nullptr, 0, 0, nullptr, nullptr));
}

TEST_F(GxTextureTextTest, ImageFontCellsAreCopiedAndAdvance)
{
    GxTexture source;
    ASSERT_TRUE(source.CreateTexture(L"digits", 32, 16, D3DFMT_A8R8G8B8, 1));
    // Cell c (4 across, 8 x 8) is filled with the colour 0xFF0000(c+1).
    for (uint32_t c = 0; c < 8; ++c)
    {
        const PfRect cell = {(int32_t)(c % 4) * 8, (int32_t)(c / 4) * 8, (int32_t)(c % 4) * 8 + 8,
                             (int32_t)(c / 4) * 8 + 8};
        ASSERT_TRUE(source.FillRect(&cell, 0xFF000000 | (c + 1)));
    }
    GxImageFontParam font;
    font.m_pTexture = &source;
    std::tie(font.m_FirstCode, font.m_LastCode, font.m_CellWidth, font.m_CellHeight, font.m_Columns) =
        std::tuple('0', '7', 8, 8, 4);
    GxTextureText t;
    ASSERT_TRUE(t.CreateTexture(L"imagetext", 64, 32, D3DFMT_A8R8G8B8, 1));
    t.Fill(0);
    int32_t endX = 0;
    EXPECT_TRUE(t.DrawImageTextA("15", &font, 4, 2, &endX, nullptr));
    EXPECT_EQ(endX, 20);
    KvExpectPixels(t, {{4, 2, 0xFF000002u}, {12, 9, 0xFF000006u}, {20, 2, 0u}});
    // Wrapped at two characters a line, with spacing.
    t.Fill(0);
    int32_t endY = 0;
    EXPECT_TRUE(t.DrawImageTextWrappedA("0123", &font, 0, 0, 0, 2, 1, 2, &endX, &endY, '\n'));
    KvExpectEq<int32_t>({{endY, 10}, {endX, 18}});
    EXPECT_EQ(t.GetPixel(9, 10), 0xFF000004u);
}

TEST_F(GxTextureTextTest, ProgressiveTextRevealsWithColourTagsAndClears)
{
    GxTextureTextEx t;
    ASSERT_TRUE(t.CreateTexture(L"message", 256, 64, D3DFMT_A8R8G8B8, 1));
    int32_t l, top, r, b;
    t.GetLayoutRect(l, top, r, b);
    KvExpectEq<int32_t>({{r, 256}, {b, 64}});
    t.Clear();
    t.UseGdiFont(16);
    t.SetText(L"W\u00013\u0001W");
    EXPECT_EQ(t.StepTagged(1), 4u);
    EXPECT_EQ(t.StepTagged(1), 0u);
    bool white = false, red = false;
    EXPECT_GT(Inked(t, 0, 0, 8, 16, 0xFFFFFF, &white), 5);
    EXPECT_TRUE(white);
    EXPECT_GT(Inked(t, 8, 0, 16, 16, 0xFF0000, &red), 5);
    EXPECT_TRUE(red);
    int32_t x = 0, y = 0;
    t.GetPen(&x, &y);
    EXPECT_EQ(x, 16);
    // Clear empties the layout area and puts the pen back.
    const PfRect area = {8, 0, 256, 64};
    t.SetLayoutRect(&area);
    t.Clear();
    EXPECT_GT(Inked(t, 0, 0, 8, 16), 5);
    EXPECT_EQ(Inked(t, 8, 0, 16, 16), 0);
    t.GetPen(&x, &y);
    EXPECT_EQ(x, 8);
    t.ClearAndDrawAt(L"AB", 100, 30);
    t.GetPen(&x, &y);
    KvExpectEq<int32_t>({{x, 116}, {y, 30}});
    EXPECT_GT(Inked(t, 100, 30, 116, 46), 10);
}
