// Scene bracketing, render-target stacks with their viewports, and present.
#include "GraphicsTestSupport.h"

using GxGraphicsSceneTest = KvGraphicsFixture;

static int s_QuitRequests = 0;

TEST_F(GxGraphicsSceneTest, ScenesCountOnceAndAnOpenOneBlocksPresentWithItsLogLine)
{
    // Unmatched ends stay at zero.
    EXPECT_FALSE(GxGraphics::EndScene());
    EXPECT_FALSE(GxGraphics::EndScene());
    EXPECT_EQ(GxGraphics::GetSceneCount(), 0);
    EXPECT_TRUE(Logged(L"GxGraphics::EndScene/"));
    // Scenes do not nest.
    ASSERT_TRUE(GxGraphics::BeginScene());
    ASSERT_TRUE(GxGraphics::BeginScene());
    EXPECT_EQ(GxGraphics::GetSceneCount(), 1);
    EXPECT_FALSE(GxGraphics::Present(nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged(L"BeginScene～EndSceneが完了していないのにPresentが呼ばれました\r\n"));
    ASSERT_TRUE(GxGraphics::EndScene());
    EXPECT_EQ(GxGraphics::GetSceneCount(), 0);
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
}

TEST_F(GxGraphicsSceneTest, DriverErrorAtPresentAsksForAnOrderlyQuit)
{
    s_QuitRequests = 0;
    GxGraphics::SetQuitRequest(+[] { ++s_QuitRequests; });
    Device()->InjectPresentResult(D3DERR_DRIVERINTERNALERROR);
    EXPECT_FALSE(GxGraphics::Present(nullptr, nullptr, nullptr));
    EXPECT_EQ(s_QuitRequests, 1);
    EXPECT_TRUE(Logged(L"PresentでD3DERR_DRIVERINTERNALERRORが発生しました\r\n"));
    // The process goes on to its orderly end; the next frame still presents.
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
    EXPECT_EQ(s_QuitRequests, 1);
}

TEST_F(GxGraphicsSceneTest, PushAndPopRedirectDrawingWithTheirViewports)
{
    KvTestRenderTarget outer, inner;
    ASSERT_TRUE(outer.Create(256, 128));
    ASSERT_TRUE(inner.Create(64, 64));
    PfGLTexture* backBuffer = Device()->GetRenderTarget(0);
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0));

    // No rectangle: the whole surface.
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &outer, nullptr));
    EXPECT_EQ(Device()->GetRenderTarget(0), &outer.m_Texture);
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{0, 0, 256, 128}));
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0));

    // A rectangle: only it is cleared.
    const PfRect rect = {8, 4, 40, 20};
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &inner, nullptr, &rect));
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{8, 4, 32, 16}));
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0));
    EXPECT_EQ((std::vector<uint32_t>{Pixel(8, 4), Pixel(39, 19), Pixel(7, 4)}),
              (std::vector<uint32_t>{0xFF00FF00u, 0xFF00FF00u, 0u}));
    EXPECT_EQ(GxGraphics::GetRenderTargetStackDepth(0), 2u);

    // Back to the outer target with its whole viewport.
    ASSERT_TRUE(GxGraphics::PopRenderTarget(0));
    EXPECT_EQ(Device()->GetRenderTarget(0), &outer.m_Texture);
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{0, 0, 256, 128}));
    EXPECT_EQ(Pixel(255, 127), 0xFF0000FFu);

    // Back to the back buffer, untouched by the redirected clears, and the default viewport.
    ASSERT_TRUE(GxGraphics::PopRenderTarget(0));
    EXPECT_EQ(Device()->GetRenderTarget(0), backBuffer);
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{0, 0, 1024, 768}));
    EXPECT_EQ(Pixel(10, 10), 0xFF000000u);
    EXPECT_EQ(Device()->GetDepthStencilSurface(), GxGraphics::GetDefaultSwapChain().GetDepthStencilSurface());

    // Popping an empty stack leaves it empty and applies the defaults again.
    EXPECT_TRUE(GxGraphics::PopRenderTarget(0));
    EXPECT_EQ(GxGraphics::GetRenderTargetStackDepth(0), 0u);
    EXPECT_EQ(Device()->GetRenderTarget(0), backBuffer);
}

TEST_F(GxGraphicsSceneTest, ZeroRectangleTakesTheWholeSurfaceAndThinOneIsKept)
{
    KvTestRenderTarget target;
    ASSERT_TRUE(target.Create(32, 16));
    const PfRect zero = {0, 0, 0, 0};
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &target, nullptr, &zero));
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{0, 0, 32, 16}));
    const PfRect thin = {0, 0, 0, 1};
    // A zero-width viewport does not reach the device, but the rectangle is taken as given.
    GxGraphics::PushRenderTarget(0, &target, nullptr, &thin);
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{0, 0, 0, 1}));
    GxGraphics::PopRenderTarget(0);
    GxGraphics::PopRenderTarget(0);
}

TEST_F(GxGraphicsSceneTest, PushWithOwnDepthSurfaceSetsIt)
{
    KvTestRenderTarget target, depth;
    ASSERT_TRUE(target.Create(32, 32));
    ASSERT_TRUE(depth.Create(32, 32, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8));
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &target, &depth));
    EXPECT_EQ(Device()->GetDepthStencilSurface(), &depth.m_Texture);
    EXPECT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102030, 1.0f, 0));
    ASSERT_TRUE(GxGraphics::PopRenderTarget(0));
    EXPECT_EQ(Device()->GetDepthStencilSurface(), GxGraphics::GetDefaultSwapChain().GetDepthStencilSurface());
}

TEST_F(GxGraphicsSceneTest, StackLeftAtPresentIsLoggedAndBadIndicesAreRefusedAndSwapChainsEmptyIt)
{
    KvTestRenderTarget target;
    ASSERT_TRUE(target.Create(16, 16));
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &target, nullptr));
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged(L"RenderTarget Stack is't empty\r\n"));
    const uint32_t beyond = GxGraphics::GetRenderTargetStackCount();
    EXPECT_FALSE(GxGraphics::PushRenderTarget(beyond, &target, nullptr));
    EXPECT_FALSE(GxGraphics::PopRenderTarget(beyond));
    EXPECT_EQ(GxGraphics::GetRenderTargetStackDepth(0), 1u);
    // Selecting a swap chain empties the stacks.
    ASSERT_TRUE(GxGraphics::SetSwapChain(nullptr, nullptr));
    EXPECT_EQ(GxGraphics::GetRenderTargetStackDepth(0), 0u);
    EXPECT_EQ(Device()->GetRenderTarget(0), GxGraphics::GetDefaultSwapChain().GetD3DSwapChain()->GetBackBuffer());
}
