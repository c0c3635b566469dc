// Frames drawn through the graphics layer as the game draws them: an unchanged frame is not drawn again,
// and each change the game makes between frames (a text texture's new character, a movie frame, a
// layer's alpha) is drawn and shown.
#include "GraphicsTestSupport.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"

#include "graphics/GxTextureMovie.h"
#include "graphics/GxTextureText.h"

#include <thread>

namespace
{

class GxGraphicsFrameCompareTest : public KvGraphicsFixture
{
protected:
    // One frame: a clear, the texture as a sprite at (100, 100) under the colour, present. True when the
    // device drew and showed it, false when it found it equal to the last one shown.
    bool Frame(GxSurfaceBase* texture, uint32_t diffuse)
    {
        const uint64_t shown = Device()->GetPresentedFrameCount();
        EXPECT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0));
        EXPECT_TRUE(GxGraphics::BeginScene());
        GxGraphics::ResetRenderStates();
        GxGraphics::DrawSprite(texture, 100, 100, GxFRect{0, 0, 64, 32}, GxVector2(1, 1), GxVector3(0, 0, 0),
                               GxVector2(0, 0), GxVector2(0, 0), diffuse, 0, 2);
        EXPECT_TRUE(GxGraphics::EndScene());
        EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
        return Device()->GetPresentedFrameCount() == shown + 1;
    }
    // Pixels of the sprite's rectangle that are not black.
    int Lit()
    {
        int lit = 0;
        for (int y = 100; y < 132; ++y)
            for (int x = 100; x < 164; ++x)
                lit += (Pixel(x, y) & 0xFFFFFF) != 0;
        return lit;
    }
};

} // namespace

TEST_F(GxGraphicsFrameCompareTest, TextTexturesNewCharacterIsDrawn)
{
    GxTextureText text;
    ASSERT_TRUE(text.CreateTexture(L"line", 64, 32, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(text.Fill(0));
    ASSERT_TRUE(text.DrawText(L"A", 0, 4, 20, 0xFFFFFFFF, nullptr, nullptr));
    EXPECT_TRUE(Frame(&text, 0xFFFFFFFF));
    EXPECT_FALSE(Frame(&text, 0xFFFFFFFF)) << "nothing changed";
    const int one = Lit();
    EXPECT_GT(one, 20);
    ASSERT_TRUE(text.DrawText(L"B", 20, 4, 20, 0xFFFFFFFF, nullptr, nullptr));
    EXPECT_TRUE(Frame(&text, 0xFFFFFFFF)) << "the typed character must be drawn";
    EXPECT_GT(Lit(), one + 20);
    EXPECT_FALSE(Frame(&text, 0xFFFFFFFF));
}

TEST_F(GxGraphicsFrameCompareTest, MovieFrameFromThePlaybackThreadIsDrawn)
{
    GxTextureMovie movie;
    ASSERT_TRUE(movie.Create(L"play", 64, 32, D3DFMT_X8R8G8B8, 0xFF000000u, false));
    EXPECT_TRUE(Frame(&movie, 0xFFFFFFFF));
    EXPECT_FALSE(Frame(&movie, 0xFFFFFFFF));
    EXPECT_EQ(Lit(), 0);
    const std::vector<uint8_t> grey(64 * 32 * 3, 0x80);
    std::thread player([&] { EXPECT_EQ(movie.CopyFrame(grey.data(), 64, 32, 64 * 3), S_OK); });
    player.join();
    movie.UploadCurrent();
    EXPECT_TRUE(Frame(&movie, 0xFFFFFFFF)) << "the new movie frame must be drawn";
    EXPECT_EQ(Pixel(120, 110), 0xFF808080u);
}

TEST_F(GxGraphicsFrameCompareTest, LayerAlphaChangeIsDrawn)
{
    GxTextureText white;
    ASSERT_TRUE(white.CreateTexture(L"white", 64, 32, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(white.Fill(0xFFFFFFFF));
    EXPECT_TRUE(Frame(&white, 0xFFFFFFFF));
    EXPECT_FALSE(Frame(&white, 0xFFFFFFFF));
    EXPECT_TRUE(Frame(&white, 0x80FFFFFF)) << "a layer fading must be drawn";
    EXPECT_NEAR((int)(Pixel(120, 110) & 0xFF), 0x80, 2);
    EXPECT_FALSE(Frame(&white, 0x80FFFFFF));
}
