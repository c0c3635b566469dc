// The OpenGL device on a hidden window: clears, pre-transformed and transformed drawing, texture uploads
// and render targets, all checked by reading the pixels back.
#include "platform/PfGLDevice.h"
#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLTexture.h"
#include "platform/PfGLVertexBuffer.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace
{

struct Vertex
{
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
constexpr uint32_t FVF_2D = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

class PfGLDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // One extra hold on the OpenGL library keeps it loaded when the last window goes, so the driver's
        // own caches stay attributable to it for the leak checker.
        static const bool s_Loaded = SDL_GL_LoadLibrary(nullptr) == 0;
        ASSERT_TRUE(s_Loaded) << SDL_GetError();
        m_Window = SDL_CreateWindow("PfGLDeviceTest", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_Window, nullptr) << SDL_GetError();
        ASSERT_EQ(m_Device.CreateContext(m_Window), D3D_OK) << m_Device.GetErrorLog();
        D3DPRESENT_PARAMETERS p = {};
        p.BackBufferWidth = 1024;
        p.BackBufferHeight = 768;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1;
        p.Windowed = 1;
        p.hDeviceWindow = m_Window;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        ASSERT_EQ(m_Device.CreateDevice(p), D3D_OK) << m_Device.GetErrorLog();
    }
    void TearDown() override
    {
        m_Device.Destroy();
        if (m_Window)
            SDL_DestroyWindow(m_Window);
    }
    uint32_t Pixel(PfGLTexture* target, int x, int y)
    {
        EXPECT_EQ(target->ReadBack(), D3D_OK);
        uint32_t argb;
        std::memcpy(&argb, target->GetData() + (size_t)y * target->GetPitch() + (size_t)x * 4, 4);
        return argb;
    }
    uint32_t BackPixel(int x, int y) { return Pixel(m_Device.GetSwapChain(0)->GetBackBuffer(), x, y); }
    void Quad(float l, float t, float r, float b, uint32_t diffuse, float u0 = 0, float v0 = 0, float u1 = 1,
              float v1 = 1)
    {
        Vertex q[4] = {{l, t, 0, 1, diffuse, 0, u0, v0},
                       {l, b, 0, 1, diffuse, 0, u0, v1},
                       {r, b, 0, 1, diffuse, 0, u1, v1},
                       {r, t, 0, 1, diffuse, 0, u1, v0}};
        ASSERT_EQ(m_Device.SetFVF(FVF_2D), D3D_OK);
        ASSERT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(Vertex)), D3D_OK);
    }
    void Untextured2D()
    {
        m_Device.SetRenderState(D3DRS_LIGHTING, 0);
        m_Device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_Device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        m_Device.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        m_Device.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    }

    SDL_Window* m_Window = nullptr;
    PfGLDevice m_Device;
};

TEST_F(PfGLDeviceTest, ClearFillsTheViewportWithTheArgbColour)
{
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0), D3D_OK);
    EXPECT_EQ(BackPixel(0, 0), 0xFF336699u);
    EXPECT_EQ(BackPixel(1023, 767), 0xFF336699u);
    D3DVIEWPORT9 vp = {10, 20, 30, 40, 0.0f, 1.0f};
    ASSERT_EQ(m_Device.SetViewport(vp), D3D_OK);
    ASSERT_EQ(m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    EXPECT_EQ(BackPixel(10, 20), 0xFF00FF00u);
    EXPECT_EQ(BackPixel(39, 59), 0xFF00FF00u);
    EXPECT_EQ(BackPixel(9, 20), 0xFF336699u);
    EXPECT_EQ(BackPixel(40, 59), 0xFF336699u);
    EXPECT_EQ(BackPixel(39, 60), 0xFF336699u);
}

TEST_F(PfGLDeviceTest, QuadOnHalfPixelEdgesCoversExactlyItsPixelsWithRowZeroAtTheTop)
{
    Untextured2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Quad(9.5f, 19.5f, 29.5f, 49.5f, 0xFFFF0000);
    EXPECT_EQ(BackPixel(10, 20), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(29, 49), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(9, 20), 0xFF000000u);
    EXPECT_EQ(BackPixel(30, 20), 0xFF000000u);
    EXPECT_EQ(BackPixel(10, 19), 0xFF000000u);
    EXPECT_EQ(BackPixel(10, 50), 0xFF000000u);
}

TEST_F(PfGLDeviceTest, TextureRowZeroIsTheTopAndTexelsLineUpWithPixels)
{
    Untextured2D();
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
    Untextured2D();
    m_Device.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Quad(-0.5f, -0.5f, 3.5f, 3.5f, 0xFF208040);
    EXPECT_EQ(BackPixel(1, 1), 0xFF208040u);
}

TEST_F(PfGLDeviceTest, RenderTargetTextureReceivesDrawingAndReadsBack)
{
    Untextured2D();
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
    Untextured2D();
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
    Untextured2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    PfGLVertexBuffer vb;
    PfGLIndexBuffer ib;
    ASSERT_EQ(vb.Create(4 * sizeof(Vertex), FVF_2D), D3D_OK);
    ASSERT_EQ(ib.Create(6 * 2, D3DFMT_INDEX16), D3D_OK);
    Vertex q[4] = {{199.5f, 99.5f, 0, 1, 0xFF0000FF, 0, 0, 0},
                   {199.5f, 109.5f, 0, 1, 0xFF0000FF, 0, 0, 0},
                   {209.5f, 109.5f, 0, 1, 0xFF0000FF, 0, 0, 0},
                   {209.5f, 99.5f, 0, 1, 0xFF0000FF, 0, 0, 0}};
    std::memcpy(vb.Lock(0, 0, 0), q, sizeof(q));
    ASSERT_EQ(vb.Unlock(), D3D_OK);
    const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    std::memcpy(ib.Lock(0, 0, 0), idx, sizeof(idx));
    ASSERT_EQ(ib.Unlock(), D3D_OK);
    m_Device.SetFVF(FVF_2D);
    m_Device.SetStreamSource(0, &vb, 0, sizeof(Vertex));
    m_Device.SetIndices(&ib);
    ASSERT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(BackPixel(200, 100), 0xFF0000FFu);
    EXPECT_EQ(BackPixel(209, 109), 0xFF0000FFu);
    EXPECT_EQ(BackPixel(210, 109), 0xFF000000u);
}

TEST_F(PfGLDeviceTest, BatchedQuadsDrawEveryQuad)
{
    Untextured2D();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    Vertex v[8];
    for (int i = 0; i < 2; ++i)
    {
        const float l = 9.5f + 20 * i, t = 9.5f, r = l + 5, b = t + 5;
        const uint32_t c = i ? 0xFF00FF00 : 0xFFFF0000;
        v[i * 4 + 0] = {l, t, 0, 1, c, 0, 0, 0};
        v[i * 4 + 1] = {l, b, 0, 1, c, 0, 0, 0};
        v[i * 4 + 2] = {r, b, 0, 1, c, 0, 0, 0};
        v[i * 4 + 3] = {r, t, 0, 1, c, 0, 0, 0};
    }
    m_Device.SetFVF(FVF_2D);
    ASSERT_EQ(m_Device.DrawQuadsUP(2, v, sizeof(Vertex)), D3D_OK);
    EXPECT_EQ(BackPixel(12, 12), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(32, 12), 0xFF00FF00u);
    EXPECT_EQ(BackPixel(20, 12), 0xFF000000u);
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
    p.BackBufferWidth = 0;
    EXPECT_NE(m_Device.Reset(p), D3D_OK);
}

} // namespace
