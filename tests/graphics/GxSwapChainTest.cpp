// Swap chains: the default chain's inset and viewport, additional chains and their reset.
#include "GraphicsTestSupport.h"

#include "graphics/GxD3DResourceManage.h"

using GxSwapChainTest = KvGraphicsFixture;

TEST_F(GxSwapChainTest, InsetShrinksTheDefaultViewport)
{
    GxSwapChain& chain = GxGraphics::GetDefaultSwapChain();
    const PfRect inset = {8, 8, 8, 8};
    ASSERT_TRUE(chain.CreateDefault(&inset));
    const PfRect& r = chain.GetViewportRect();
    KvExpectEq<int32_t>({{r.left, 8}, {r.top, 8}, {r.right, 1016}, {r.bottom, 760}});
    ASSERT_TRUE(GxGraphics::SetSwapChain(nullptr, nullptr));
    ASSERT_TRUE(GxGraphics::SetRenderTarget(0, nullptr));
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{8, 8, 1008, 752}));
}

TEST_F(GxSwapChainTest, DefaultChainKeepsItsSizeAcrossAModeSwitch)
{
    GxSwapChain& chain = GxGraphics::GetDefaultSwapChain();
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREENX2));
    ASSERT_NE(chain.GetDepthStencilSurface(), nullptr);
    KvExpectEq<uint32_t>({{chain.GetWidth(), 1024},
                          {chain.GetHeight(), 768},
                          {chain.GetDepthStencilSurface()->GetWidth(), 1024},
                          {chain.GetD3DSwapChain()->GetBackBuffer()->GetWidth(), 2048}});
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_WINDOW));
}

TEST_F(GxSwapChainTest, AdditionalChainIsRegisteredAndSurvivesAReset)
{
    GxSwapChain chain;
    ASSERT_TRUE(chain.Create(L"Extra", nullptr, 320, 240, nullptr));
    EXPECT_TRUE(GxD3DResourceManage::GetInstance().IsRegistered(&chain));
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN));
    ASSERT_NE(chain.GetD3DSwapChain(), nullptr);
    EXPECT_EQ(chain.GetD3DSwapChain()->GetBackBuffer()->GetWidth(), 320u);
    ASSERT_TRUE(GxGraphics::SetSwapChain(&chain, nullptr));
    EXPECT_EQ(GxGraphics::GetViewport().Width, 320u);
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF445566, 1.0f, 0));
    EXPECT_EQ(Pixel(319, 239), 0xFF445566u);
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
    ASSERT_TRUE(GxGraphics::SetSwapChain(nullptr, nullptr));
    EXPECT_EQ(chain.Release(), 0u);
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&chain));
    // Released at zero changes nothing.
    EXPECT_EQ(chain.Release(), 0u);
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_WINDOW));
}
