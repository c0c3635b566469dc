// One test screen drawn headless through the 2D drawers (pictures, sprites, tiles, filled rectangles,
// frames and a line of Japanese text) and compared with a stored picture, with a small tolerance.
// KV_UPDATE_GOLDEN=1 build/tests/kv_tests_graphics --gtest_filter='GxDraw2DGolden.*' writes the stored
// picture tests/graphics/golden/draw2d_screen.png instead, after an intended change.
#include "GraphicsTestSupport.h"

#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxTextRaster.h"

namespace
{

// A picture of its own, filled on the processor.
class Picture : public KvTestRenderTarget
{
public:
    bool Create(uint32_t width, uint32_t height) { return KvTestRenderTarget::Create(width, height, 0); }
    GxTextSurface Lock()
    {
        GxTextSurface s{nullptr, 0, m_Width, m_Height, D3DFMT_A8R8G8B8};
        s.m_Bits = (uint8_t*)m_Texture.LockRect(nullptr, 0, &s.m_Pitch);
        return s;
    }
};

class GxDraw2DGolden : public KvGraphicsFixture
{
protected:
    void DrawScreen()
    {
        // A 64 x 64 picture: four coloured quadrants and a checkered border, half transparent in one corner.
        Picture picture;
        ASSERT_TRUE(picture.Create(64, 64));
        GxTextSurface s = picture.Lock();
        ASSERT_NE(s.m_Bits, nullptr);
        for (uint32_t y = 0; y < 64; ++y)
            for (uint32_t x = 0; x < 64; ++x)
            {
                uint32_t c = x < 32 ? (y < 32 ? 0xFFE04040 : 0xFF40C040) : (y < 32 ? 0xFF4060E0 : 0x80F0E040);
                if (x < 4 || y < 4 || x >= 60 || y >= 60)
                    c = ((x / 4 + y / 4) & 1) ? 0xFFFFFFFF : 0xFF000000;
                std::memcpy(s.m_Bits + y * s.m_Pitch + x * 4, &c, 4);
            }
        picture.m_Texture.UnlockRect();

        // A line of Japanese text rasterised into a text picture.
        Picture text;
        ASSERT_TRUE(text.Create(512, 32));
        s = text.Lock();
        ASSERT_NE(s.m_Bits, nullptr);
        std::memset(s.m_Bits, 0, (size_t)31 * s.m_Pitch + 512 * 4);
        GxTextRaster::DrawText(s, L"ＭＳ ゴシック", L"かな漢字テキスト、Kestrelvane 123", 0, 4, 24, 0xFFFFFFFF, nullptr,
                               nullptr);
        text.m_Texture.UnlockRect();

        ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF203040, 1.0f, 0));
        ASSERT_TRUE(GxGraphics::BeginScene());
        GxGraphics::ResetRenderStates();
        const uint32_t five[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFFFFFF};
        const uint32_t none[5] = {0, 0, 0, 0, 0};
        GxGraphics::FillRect(GxFRect{40, 40, 300, 200}, five, none, 2);
        GxGraphics::DrawRectFrame(GxFRect{30, 30, 310, 210}, 0xFFFFFFFF, 0, 2);
        const uint32_t flat[5] = {0x80000000, 0x80000000, 0x80000000, 0x80000000, 0x80000000};
        GxGraphics::FillRect(GxFRect{20, 380, 620, 460}, flat, none, 2);
        GxGraphics::DrawRectFrame(GxFRect{20, 380, 620, 460}, 0xFFFFC000, 0, 2);

        const GxVector3 still(0, 0, 0);
        GxGraphics::DrawSprite(&picture, 400, 60, GxFRect{0, 0, 64, 64}, GxVector2(2, 2), still, GxVector2(0, 0),
                               GxVector2(0, 0), 0xFFFFFFFF, 0, 1);
        GxGraphics::DrawSprite(&picture, 700, 124, GxFRect{0, 0, 64, 64}, GxVector2(2, 2), GxVector3(0, 0, 0.5f),
                               GxVector2(0.5f, 0.5f), GxVector2(0, 0), 0xFFFFFFFF, 0, 2);
        GxGraphics::DrawSprite(&picture, 860, 60, GxFRect{32, 0, 64, 32}, GxVector2(3, 3), still, GxVector2(0, 0),
                               GxVector2(0, 0), 0xFF8080FF, 0x00202020, 2);
        const GxVector2 corners[4] = {{80, 250}, {120, 340}, {300, 330}, {260, 240}};
        const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF808080};
        const uint32_t black[4] = {0, 0, 0, 0};
        GxGraphics::DrawQuad(&picture, corners, GxFRect{0, 0, 1, 1}, white, black, 2);
        PfGLTexture* tiles[4] = {&picture.m_Texture, &picture.m_Texture, &picture.m_Texture, &picture.m_Texture};
        GxGraphics::DrawTiles(tiles, 2, 2, 64, 64, 128, 128, 400, 240, GxVector2(1, 1), still, GxVector2(0, 0),
                              0xFFFFFFFF, 0, 2);

        GxGraphics::DrawSprite(&text, 42, 402, GxFRect{0, 0, 512, 32}, GxVector2(1, 1), still, GxVector2(0, 0),
                               GxVector2(0, 0), 0xFF000000, 0, 2);
        GxGraphics::DrawSprite(&text, 40, 400, GxFRect{0, 0, 512, 32}, GxVector2(1, 1), still, GxVector2(0, 0),
                               GxVector2(0, 0), 0xFFFFFFFF, 0, 2);
        GxGraphics::DrawSprite(&text, 40, 500, GxFRect{0, 0, 512, 32}, GxVector2(1.5f, 1.5f), still, GxVector2(0, 0),
                               GxVector2(0, 0), 0xFF60FF60, 0, 2);
        // Text through a font map: two lines split by a line feed, and a line drawn at twice the size.
        GxGDIFontMap map;
        map.SetFont(24, nullptr);
        GxGraphics::DrawText(&map, L"フォントマップの文字：ABC あいう\n二行目 Line 2", 40, 600, GxVector2(1, 1),
                             0xFFFFFFFF, 0, 2);
        GxGraphics::DrawText(&map, L"縁取り", 700, 600, GxVector2(2, 2), 0xFFFF8040, 0, 2);
        ASSERT_TRUE(GxGraphics::EndScene());
        m_Screen = Screen(1024, 768);
    }
    std::vector<uint32_t> m_Screen;
};

} // namespace

TEST_F(GxDraw2DGolden, TestScreenMatchesTheStoredPicture)
{
    DrawScreen();
    ASSERT_EQ(m_Screen.size(), (size_t)1024 * 768);
    // Glyph edges and filtered sprite edges may move by a level or two between drivers; a broken drawer
    // changes thousands of pixels by far more.
    const std::vector<size_t> off = KvCompareWithGolden("draw2d_screen.png", m_Screen, 1024, 768, {8, 64});
    EXPECT_LE(off[0], 400u) << "pixels off by more than 8 levels";
    EXPECT_LE(off[1], 100u) << "pixels off by more than 64 levels";
    // The centre of the filled rectangle is colour 4.
    EXPECT_LE(ChannelDistance(m_Screen[(size_t)120 * 1024 + 170], 0xFFFFFFFF), 8);
}
