// Flexible textures: the tile grid of a picture, what the edge tiles hold, memory, colour key.
#include "GraphicsTestSupport.h"
#include "ImageTestSupport.h"

#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxTextureFlex.h"

using namespace kvimg;
using GxTextureFlexTest = KvGraphicsFixture;

namespace
{

uint32_t TileTexel(const GxTextureFlex& flex, uint32_t c, uint32_t r, uint32_t x, uint32_t y)
{
    return KvTexel(flex.GetTileTextures()[r * flex.GetTileCountX() + c], x, y);
}

} // namespace

TEST_F(GxTextureFlexTest, PictureOf800x600MakesSevenByFiveTiles)
{
    const PfImage pattern = Pattern(800, 600);
    ASSERT_TRUE(WritePng(m_Dir + "/bg.png", pattern));
    GxTextureFlex flex;
    ASSERT_TRUE(flex.CreateFromFile(Wide(m_Dir + "/BG.png"), D3DFMT_A8R8G8B8, 0));
    KvExpectEq<uint32_t>(
        {{flex.GetTileCountX(), 7}, {flex.GetTileCountY(), 5}, {flex.GetWidth(), 800}, {flex.GetRefCount(), 1}});
    // Filled once and uploaded: no tile keeps a processor-side copy of what OpenGL holds.
    for (uint32_t i = 0; i < 35; ++i)
        EXPECT_FALSE(flex.GetTileTextures()[i]->HasCopy()) << i;
    // Every tile holds its part of the picture unscaled. The right column carries 32 columns of picture, the
    // bottom row 88 rows; beyond is transparent.
    KvExpectEq<uint32_t>({{TileTexel(flex, 0, 0, 5, 7), pattern.GetPixel(5, 7)},
                          {TileTexel(flex, 3, 2, 10, 20), pattern.GetPixel(3 * 128 + 10, 2 * 128 + 20)},
                          {TileTexel(flex, 6, 4, 31, 87), pattern.GetPixel(799, 599)},
                          {TileTexel(flex, 6, 0, 32, 0), 0},
                          {TileTexel(flex, 0, 4, 0, 88), 0},
                          {TileTexel(flex, 6, 4, 127, 127), 0}});
    flex.Release();
    EXPECT_EQ(flex.GetTileTextures(), nullptr);
    EXPECT_EQ(flex.GetTileCountX(), 0u);
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&flex));
}

TEST_F(GxTextureFlexTest, TileCountsAndMemory)
{
    GxTextureFlex flex;
    ASSERT_TRUE(flex.CreateTexture(L"Big", 1024, 768, D3DFMT_A8R8G8B8));
    KvExpectEq<uint32_t>({{flex.GetTileCountX() * flex.GetTileCountY(), 48}, {flex.GetMemorySize(), 3145728}});
    ASSERT_TRUE(flex.CreateTexture(L"thin", 129, 1, D3DFMT_UNKNOWN));
    KvExpectEq<uint32_t>(
        {{flex.GetTileCountX(), 2}, {flex.GetTileCountY(), 1}, {flex.GetFormat(), GxGraphics::GetTextureFormat()}});
    ASSERT_TRUE(flex.CreateTexture(L"none", 0, 0, D3DFMT_A4R4G4B4));
    EXPECT_EQ(flex.GetMemorySize(), 0u);
}

TEST_F(GxTextureFlexTest, ColourKeyAndBadFiles)
{
    PfImage pattern = Pattern(130, 10);
    pattern.SetPixel(129, 9, 0xFFFF00FFu);
    WriteFile(m_Dir + "/k.bmp", EncodeBmp(pattern));
    GxTextureFlex flex;
    ASSERT_TRUE(flex.CreateFromFile(Wide(m_Dir + "/k.bmp"), D3DFMT_A8R8G8B8, 0xFFFF00FFu));
    KvExpectEq<uint32_t>({{TileTexel(flex, 1, 0, 1, 9), 0}, {TileTexel(flex, 1, 0, 0, 9), pattern.GetPixel(128, 9)}});
    std::vector<uint8_t> bytes = EncodeBmp(pattern);
    bytes.resize(bytes.size() / 2);
    WriteFile(m_Dir + "/cut.bmp", bytes);
    EXPECT_FALSE(flex.CreateFromFile(Wide(m_Dir + "/cut.bmp"), D3DFMT_A8R8G8B8, 0));
    EXPECT_EQ(flex.GetRefCount(), 0u);
    EXPECT_TRUE(Logged(L"Error/ImageLoadFromFile Failed"));
}
