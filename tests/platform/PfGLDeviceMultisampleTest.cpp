// Multisampling: with four samples a pixel the back buffer is drawn through a multisampled buffer, so a
// triangle's edge blends with what is behind it once resolved (read back, shown); with none it is hard.
#include "PlatformTestSupport.h"

namespace
{

class PfGLDeviceMultisampleTest : public KvGLDeviceFixture
{
protected:
    explicit PfGLDeviceMultisampleTest(uint32_t samples = 4) : KvGLDeviceFixture(32, 32, samples) {}
    // A white triangle over black whose long edge runs across the pixels at a slant; returns how many
    // pixels of the picture are neither black nor white.
    uint32_t BlendedEdgePixels()
    {
        Modulate2D();
        m_Device.SetFVF(FVF_2D);
        m_Device.SetTexture(0, nullptr);
        EXPECT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
        const KvVertex2D triangle[3] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                                        {31.5f, 20.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                                        {-0.5f, 31.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0}};
        EXPECT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(KvVertex2D)), D3D_OK);
        uint32_t blended = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
            {
                const uint32_t green = (BackPixel(x, y) >> 8) & 0xFF;
                blended += green > 0 && green < 0xFF;
            }
        return blended;
    }
};

class PfGLDeviceSingleSampleTest : public PfGLDeviceMultisampleTest
{
protected:
    PfGLDeviceSingleSampleTest() : PfGLDeviceMultisampleTest(0) {}
};

} // namespace

TEST_F(PfGLDeviceMultisampleTest, TriangleEdgeIsBlendedWithFourSamples)
{
    if (m_Device.GetAdapterInfo().MaxSamples < 4)
        GTEST_SKIP() << "the implementation has no 4-sample buffers";
    PfGLTexture* back = m_Device.GetSwapChain(0)->GetBackBuffer();
    EXPECT_EQ(back->GetSamples(), 4u);
    EXPECT_GE(BlendedEdgePixels(), 16u) << "about one pixel a row along the edge";
    EXPECT_EQ(BackPixel(2, 28), 0xFFFFFFFFu);
    EXPECT_EQ(BackPixel(28, 2), 0xFF000000u);
    EXPECT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);

    // Turned off by the render state, the same draw has hard edges.
    m_Device.SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, 0);
    EXPECT_EQ(BlendedEdgePixels(), 0u);
}

TEST_F(PfGLDeviceMultisampleTest, DepthSurfaceOfTheSameSampleCountTestsDepth)
{
    if (m_Device.GetAdapterInfo().MaxSamples < 4)
        GTEST_SKIP() << "the implementation has no 4-sample buffers";
    PfGLTexture depth;
    ASSERT_EQ(depth.Create(32, 32, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8, 4), D3D_OK);
    ASSERT_EQ(depth.GetSamples(), 4u);
    ASSERT_EQ(m_Device.SetDepthStencilSurface(&depth), D3D_OK);
    Modulate2D();
    m_Device.SetFVF(FVF_2D);
    m_Device.SetTexture(0, nullptr);
    m_Device.SetRenderState(D3DRS_ZENABLE, 1);
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 0.5f, 0), D3D_OK);
    KvVertex2D q[4];
    Corners(q, -0.5f, -0.5f, 31.5f, 31.5f, 0xFFFF0000);
    for (KvVertex2D& v : q)
        v.z = 0.8f;
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    EXPECT_EQ(BackPixel(16, 16), 0xFF000000u) << "behind the cleared depth";
    Corners(q, -0.5f, -0.5f, 31.5f, 31.5f, 0xFF00FF00);
    for (KvVertex2D& v : q)
        v.z = 0.2f;
    ASSERT_EQ(m_Device.DrawQuadsUP(1, q, sizeof(KvVertex2D)), D3D_OK);
    EXPECT_EQ(BackPixel(16, 16), 0xFF00FF00u);
    m_Device.SetDepthStencilSurface(nullptr);
}

TEST_F(PfGLDeviceSingleSampleTest, TriangleEdgeIsHardWithoutSamples)
{
    EXPECT_EQ(m_Device.GetSwapChain(0)->GetBackBuffer()->GetSamples(), 0u);
    EXPECT_EQ(BlendedEdgePixels(), 0u);
}
