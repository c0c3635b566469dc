// Surfaces: sizes without the power-of-two rule, formats by kind, loss and reset, file surfaces,
// stretching and saving.
#include "GraphicsTestSupport.h"
#include "ImageTestSupport.h"

#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxSurface.h"
#include "platform/PfImageDecoder.h"

using namespace kvimg;
using GxSurfaceTest = KvGraphicsFixture;

TEST_F(GxSurfaceTest, SystemMemorySurfaceKeepsItsSizeAndComesBackEmptyAfterReset)
{
    GxSurface s;
    ASSERT_TRUE(s.CreateSystemMemory(L"", 1024, 768, D3DFMT_X8R8G8B8));
    KvExpectEq<uint32_t>({{s.GetWidth(), 1024}, {s.GetHeight(), 768}, {s.GetMemorySize(), 0}});
    std::memset(s.GetD3DSurface()->GetData(), 0x7F, 16);
    s.OnLostDevice();
    EXPECT_EQ(s.GetD3DSurface(), nullptr);
    s.OnResetDevice();
    ASSERT_NE(s.GetD3DSurface(), nullptr);
    EXPECT_EQ(s.GetD3DSurface()->GetData()[0], 0);
}

TEST_F(GxSurfaceTest, DefaultFormatsByKind)
{
    GxSurface depth, target, plain;
    ASSERT_TRUE(depth.CreateDepthStencil(L"Depth", 256, 256, D3DFMT_UNKNOWN, D3DMULTISAMPLE_NONE, 0));
    ASSERT_TRUE(target.CreateRenderTarget(L"rt", 300, 200, D3DFMT_UNKNOWN, D3DMULTISAMPLE_NONE, 0));
    ASSERT_TRUE(plain.CreateSurface(L"plain", 10, 10, D3DFMT_UNKNOWN));
    KvExpectEq<uint32_t>({{depth.GetFormat(), GxGraphics::GetDepthStencilFormat()},
                          {target.GetFormat(), GxGraphics::GetRenderTargetFormat()},
                          {target.GetWidth(), 300},
                          {plain.GetFormat(), GxGraphics::GetTextureFormat()}});
}

TEST_F(GxSurfaceTest, FileSurfacesSurviveResetAndStretchAndSave)
{
    PfImage pattern = Pattern(20, 10);
    WriteFile(m_Dir + "/s.bmp", EncodeBmp(pattern));
    GxSurface file;
    ASSERT_TRUE(file.CreateFromFile(Wide(m_Dir + "/s.bmp"), D3DFMT_A8R8G8B8, 0));
    EXPECT_EQ(file.GetImageWidth(), 20u);
    PfGLTexture* before = file.GetD3DSurface();
    file.OnLostDevice();
    file.OnResetDevice();
    EXPECT_EQ(file.GetD3DSurface(), before);
    GxSurface big;
    ASSERT_TRUE(big.CreateScratch(L"big", 40, 20, D3DFMT_A8R8G8B8));
    ASSERT_TRUE(big.StretchFrom(nullptr, &file, nullptr, D3DTEXF_POINT));
    uint32_t v;
    std::memcpy(&v, big.GetD3DSurface()->GetData() + 39 * 4 + 19 * big.GetD3DSurface()->GetPitch(), 4);
    EXPECT_EQ(v, pattern.GetPixel(19, 9));
    ASSERT_TRUE(big.SaveToFile(Wide(m_Dir + "/out.bmp")));
    PfImage saved;
    std::string error;
    const std::vector<uint8_t> bytes = ReadFile(m_Dir + "/out.bmp");
    ASSERT_TRUE(PfImageDecoder::Decode(bytes.data(), bytes.size(), saved, error));
    EXPECT_EQ(saved.GetWidth(), 40u);
    EXPECT_EQ(saved.GetPixel(0, 0), pattern.GetPixel(0, 0));
    big.Release();
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&big));
}

TEST_F(GxSurfaceTest, LinearStretchBlendsNeighboursInsideTheSourceRectangle)
{
    // Black, white, and a red texel outside the copied rectangle that must not bleed in.
    GxSurface row, wide, same;
    const uint32_t texels[3] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFF0000u};
    ASSERT_TRUE(row.CreateScratch(L"row", 3, 1, D3DFMT_A8R8G8B8) &&
                wide.CreateScratch(L"wide", 4, 1, D3DFMT_A8R8G8B8) &&
                same.CreateScratch(L"same", 3, 1, D3DFMT_A8R8G8B8));
    std::memcpy(row.GetD3DSurface()->GetData(), texels, sizeof(texels));
    const PfRect source{0, 0, 2, 1};
    const std::vector<uint32_t> point{0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu},
        linear{0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu};
    for (auto [filter, expected] : {std::pair{D3DTEXF_POINT, point}, std::pair{D3DTEXF_LINEAR, linear}})
    {
        ASSERT_TRUE(wide.StretchFrom(nullptr, &row, &source, filter));
        const uint32_t* got = reinterpret_cast<const uint32_t*>(wide.GetD3DSurface()->GetData());
        EXPECT_EQ(std::vector<uint32_t>(got, got + 4), expected) << filter;
    }
    ASSERT_TRUE(same.StretchFrom(nullptr, &row, nullptr, D3DTEXF_LINEAR)); // same size: a plain copy
    EXPECT_EQ(std::memcmp(same.GetD3DSurface()->GetData(), texels, sizeof(texels)), 0);
}
