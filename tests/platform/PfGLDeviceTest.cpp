// The OpenGL device on a hidden window: clears, pre-transformed and transformed drawing, texture uploads
// and render targets, all checked by reading the pixels back.
#include "PlatformTestSupport.h"

#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfPictureFit.h"

#include <epoxy/gl.h>

#include <vector>

namespace
{

class PfGLDeviceTest : public KvGLDeviceFixture
{
protected:
    PfGLDeviceTest() : KvGLDeviceFixture(1024, 768) {}
    void Quad(float l, float t, float r, float b, uint32_t diffuse)
    {
        KvVertex2D q[4];
        Corners(q, l, t, r, b, diffuse);
        ASSERT_EQ(m_Device.SetFVF(FVF_2D), D3D_OK);
        ASSERT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(KvVertex2D)), D3D_OK);
    }
    // Pixels [l, r) x [t, b) have the colour inside; their neighbours across each edge the colour outside.
    void ExpectRect(int l, int t, int r, int b, uint32_t inside, uint32_t outside)
    {
        EXPECT_EQ(BackPixel(l, t), inside);
        EXPECT_EQ(BackPixel(r - 1, b - 1), inside);
        EXPECT_EQ(BackPixel(l - 1, t), outside);
        EXPECT_EQ(BackPixel(l, t - 1), outside);
        EXPECT_EQ(BackPixel(r, b - 1), outside);
        EXPECT_EQ(BackPixel(r - 1, b), outside);
    }
};

TEST_F(PfGLDeviceTest, ClearFillsTheViewportWithTheArgbColour)
{
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0), D3D_OK);
    EXPECT_EQ(BackPixel(0, 0), 0xFF336699u);
    EXPECT_EQ(BackPixel(1023, 767), 0xFF336699u);
    D3DVIEWPORT9 vp = {10, 20, 30, 40, 0.0f, 1.0f};
    ASSERT_EQ(m_Device.SetViewport(vp), D3D_OK);
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    ExpectRect(10, 20, 40, 60, 0xFF00FF00u, 0xFF336699u);
}

TEST_F(PfGLDeviceTest, QuadOnHalfPixelEdgesCoversExactlyItsPixelsWithRowZeroAtTheTop)
{
    Modulate2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Quad(9.5f, 19.5f, 29.5f, 49.5f, 0xFFFF0000);
    ExpectRect(10, 20, 30, 50, 0xFFFF0000u, 0xFF000000u);
}

// A screen-space quad turned about x (a map laid flat) has depths far outside 0..1: it still draws.
TEST_F(PfGLDeviceTest, PreTransformedQuadOutsideTheDepthRangeStillDraws)
{
    Modulate2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    KvVertex2D q[4];
    Corners(q, 9.5f, 19.5f, 29.5f, 49.5f, 0xFF00FF00);
    q[0].z = q[3].z = -90.0f;
    q[1].z = q[2].z = 90.0f;
    ASSERT_EQ(m_Device.SetFVF(FVF_2D), D3D_OK);
    ASSERT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(KvVertex2D)), D3D_OK);
    ExpectRect(10, 20, 30, 50, 0xFF00FF00u, 0xFF000000u);
}

TEST_F(PfGLDeviceTest, TextureRowZeroIsTheTopAndTexelsLineUpWithPixels)
{
    Modulate2D();
    PfGLTexture texture;
    ASSERT_EQ(texture.Create(2, 2, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
    uint32_t pitch = 0;
    auto* bits = (uint8_t*)texture.LockRect(nullptr, 0, &pitch);
    ASSERT_NE(bits, nullptr);
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    std::memcpy(bits, texels, 8);
    std::memcpy(bits + pitch, texels + 2, 8);
    ASSERT_EQ(texture.UnlockRect(), D3D_OK);
    m_Device.SetTexture(0, &texture);
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Quad(99.5f, 99.5f, 101.5f, 101.5f, 0xFFFFFFFF);
    EXPECT_EQ(BackPixel(100, 100), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(101, 100), 0xFF00FF00u);
    EXPECT_EQ(BackPixel(100, 101), 0xFF0000FFu);
    EXPECT_EQ(BackPixel(101, 101), 0xFFFFFFFFu);
}

TEST_F(PfGLDeviceTest, NullTextureSamplesOpaqueWhite)
{
    Modulate2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Quad(-0.5f, -0.5f, 3.5f, 3.5f, 0xFF208040);
    EXPECT_EQ(BackPixel(1, 1), 0xFF208040u);
}

TEST_F(PfGLDeviceTest, RenderTargetTextureReceivesDrawingAndReadsBack)
{
    Modulate2D();
    PfGLTexture target;
    ASSERT_EQ(target.Create(64, 32, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_EQ(m_Device.SetRenderTarget(0, &target), D3D_OK);
    EXPECT_EQ(m_Device.GetViewport().Width, 64u);
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0x80102030, 1.0f, 0);
    Quad(-0.5f, -0.5f, 7.5f, 3.5f, 0xFFFFFF00);
    EXPECT_EQ(Pixel(&target, 0, 0), 0xFFFFFF00u);
    EXPECT_EQ(Pixel(&target, 63, 31), 0x80102030u);
    ASSERT_EQ(m_Device.SetRenderTarget(0, m_Device.GetSwapChain(0)->GetBackBuffer()), D3D_OK);
    EXPECT_EQ(m_Device.GetViewport().Width, 1024u);
}

TEST_F(PfGLDeviceTest, TransformedTriangleKeepsClipSpaceUpAtTheTop)
{
    Modulate2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    struct V
    {
        float x, y, z;
        uint32_t diffuse;
    };
    // Identity transforms: the upper half of clip space is the upper half of the target.
    V tri[3] = {{-1, 1, 0.5f, 0xFF00FF00}, {3, 1, 0.5f, 0xFF00FF00}, {-1, 0, 0.5f, 0xFF00FF00}};
    m_Device.SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof(V)), D3D_OK);
    EXPECT_EQ(BackPixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(BackPixel(5, 700), 0xFF000000u);
}

TEST_F(PfGLDeviceTest, VertexAndIndexBuffersDrawAMesh)
{
    Modulate2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    PfGLVertexBuffer vb;
    PfGLIndexBuffer ib;
    ASSERT_EQ(vb.Create(4 * sizeof(KvVertex2D), FVF_2D), D3D_OK);
    ASSERT_EQ(ib.Create(6 * 2, D3DFMT_INDEX16), D3D_OK);
    Corners((KvVertex2D*)vb.Lock(0, 0, 0), 199.5f, 99.5f, 209.5f, 109.5f, 0xFF0000FF);
    ASSERT_EQ(vb.Unlock(), D3D_OK);
    const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    std::memcpy(ib.Lock(0, 0, 0), idx, sizeof(idx));
    ASSERT_EQ(ib.Unlock(), D3D_OK);
    m_Device.SetFVF(FVF_2D);
    m_Device.SetStreamSource(0, &vb, 0, sizeof(KvVertex2D));
    m_Device.SetIndices(&ib);
    ASSERT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    ExpectRect(200, 100, 210, 110, 0xFF0000FFu, 0xFF000000u);
}

TEST_F(PfGLDeviceTest, BatchedQuadsDrawEveryQuad)
{
    Modulate2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    KvVertex2D v[8];
    Corners(v, 9.5f, 9.5f, 14.5f, 14.5f, 0xFFFF0000);
    Corners(v + 4, 29.5f, 9.5f, 34.5f, 14.5f, 0xFF00FF00);
    m_Device.SetFVF(FVF_2D);
    ASSERT_EQ(m_Device.DrawQuadsUP(2, v, sizeof(KvVertex2D)), D3D_OK);
    ExpectRect(10, 10, 15, 15, 0xFFFF0000u, 0xFF000000u);
    ExpectRect(30, 10, 35, 15, 0xFF00FF00u, 0xFF000000u);
}

TEST_F(PfGLDeviceTest, PresentShowsTheBackBufferAndResetKeepsWorking)
{
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    EXPECT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);
    m_Device.InjectPresentResult(D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, nullptr), D3D_OK);
    D3DPRESENT_PARAMETERS p = m_Device.GetSwapChain(0)->GetPresentParameters();
    p.BackBufferWidth = 640;
    p.BackBufferHeight = 480;
    ASSERT_EQ(m_Device.Reset(p), D3D_OK);
    EXPECT_EQ(m_Device.GetSwapChain(0)->GetBackBuffer()->GetWidth(), 640u);
    EXPECT_EQ(m_Device.GetRenderState(D3DRS_LIGHTING), 1u);
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(BackPixel(639, 479), 0xFF0000FFu);
    // Presents wait as many vertical blanks as asked where the driver allows, else one.
    for (auto [interval, blanks] : {std::pair{D3DPRESENT_INTERVAL_IMMEDIATE, 0},
                                    {D3DPRESENT_INTERVAL_DEFAULT, 1},
                                    {D3DPRESENT_INTERVAL_ONE, 1},
                                    {D3DPRESENT_INTERVAL_TWO, 2},
                                    {D3DPRESENT_INTERVAL_THREE, 3},
                                    {D3DPRESENT_INTERVAL_FOUR, 4}})
    {
        p.PresentationInterval = interval;
        ASSERT_EQ(m_Device.Reset(p), D3D_OK);
        EXPECT_EQ(m_Device.GetWantedSwapInterval(), blanks);
        EXPECT_EQ(m_Device.GetSwapInterval() == blanks || (blanks > 1 && m_Device.GetSwapInterval() == 1), true)
            << m_Device.GetSwapInterval();
    }
    p.BackBufferWidth = 0;
    EXPECT_NE(m_Device.Reset(p), D3D_OK);
}

// The window keeps the picture's shape whatever its own: the back buffer is scaled uniformly and centred,
// black bars fill the rest of the window.
TEST_F(PfGLDeviceTest, PresentKeepsThePictureShapeBetweenBlackBars)
{
    struct Case
    {
        int w, h;
        PfRect picture;
    };
    for (const Case& c : {Case{1920, 1080, {240, 0, 1680, 1080}}, Case{1280, 1024, {0, 32, 1280, 992}},
                          Case{1024, 768, {0, 0, 1024, 768}}})
    {
        SCOPED_TRACE(c.w);
        const PfRect fit = PfPictureFit::Fit(1024, 768, c.w, c.h);
        EXPECT_EQ(std::tuple(fit.left, fit.top, fit.right, fit.bottom),
                  std::tuple(c.picture.left, c.picture.top, c.picture.right, c.picture.bottom));
        // A window of that size of its own: the headless driver's drawable keeps its first size.
        SDL_Window* window = SDL_CreateWindow("shape", 0, 0, c.w, c.h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF3366CC, 1.0f, 0);
        ASSERT_EQ(m_Device.Present(m_Device.GetSwapChain(0), nullptr, nullptr, window), D3D_OK);
        // What the window shows, row 0 at the top.
        std::vector<uint8_t> shownRows((size_t)c.w * c.h * 4);
        SDL_GL_MakeCurrent(window, SDL_GL_GetCurrentContext());
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, c.w, c.h, GL_BGRA, GL_UNSIGNED_BYTE, shownRows.data());
        SDL_GL_MakeCurrent(m_Window, SDL_GL_GetCurrentContext());
        SDL_DestroyWindow(window);
        auto shown = [&](int x, int y)
        {
            uint32_t bgra;
            std::memcpy(&bgra, &shownRows[((size_t)(c.h - 1 - y) * c.w + x) * 4], 4);
            return bgra & 0xFFFFFF;
        };
        const PfRect& p = c.picture;
        EXPECT_EQ(shown(p.left, p.top), 0x3366CCu);
        EXPECT_EQ(shown(p.right - 1, p.bottom - 1), 0x3366CCu);
        if (p.left > 0)
        {
            EXPECT_EQ(shown(p.left - 1, c.h / 2), 0u);
            EXPECT_EQ(shown(p.right, c.h / 2), 0u);
        }
        if (p.top > 0)
        {
            EXPECT_EQ(shown(c.w / 2, p.top - 1), 0u);
            EXPECT_EQ(shown(c.w / 2, p.bottom), 0u);
        }
    }
}

} // namespace
