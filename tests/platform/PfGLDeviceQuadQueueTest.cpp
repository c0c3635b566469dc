// The device's quad queue: quads under the same states go out as one draw call, and anything that could
// change how they look sends them first.
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

struct Vertex
{
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
constexpr uint32_t FVF_2D = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

class PfGLDeviceQuadQueueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        static const bool s_Loaded = SDL_GL_LoadLibrary(nullptr) == 0;
        ASSERT_TRUE(s_Loaded) << SDL_GetError();
        m_Window = SDL_CreateWindow("PfGLDeviceQuadQueueTest", 0, 0, 256, 256, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_Window, nullptr) << SDL_GetError();
        ASSERT_EQ(m_Device.CreateContext(m_Window), D3D_OK) << m_Device.GetErrorLog();
        D3DPRESENT_PARAMETERS p = {};
        p.BackBufferWidth = 256;
        p.BackBufferHeight = 256;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1;
        p.Windowed = 1;
        p.hDeviceWindow = m_Window;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        ASSERT_EQ(m_Device.CreateDevice(p), D3D_OK) << m_Device.GetErrorLog();
        m_Device.SetRenderState(D3DRS_LIGHTING, 0);
        m_Device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_Device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        m_Device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        m_Device.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        m_Device.SetFVF(FVF_2D);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    }
    void TearDown() override
    {
        m_Device.Destroy();
        if (m_Window)
            SDL_DestroyWindow(m_Window);
    }
    uint32_t BackPixel(int x, int y)
    {
        PfGLTexture* target = m_Device.GetSwapChain(0)->GetBackBuffer();
        EXPECT_EQ(target->ReadBack(), D3D_OK);
        uint32_t argb;
        std::memcpy(&argb, target->GetData() + (size_t)y * target->GetPitch() + (size_t)x * 4, 4);
        return argb;
    }
    void Queue(float l, float t, float r, float b, uint32_t diffuse)
    {
        Vertex q[4] = {{l, t, 0, 1, diffuse, 0, 0, 0},
                       {l, b, 0, 1, diffuse, 0, 0, 1},
                       {r, b, 0, 1, diffuse, 0, 1, 1},
                       {r, t, 0, 1, diffuse, 0, 1, 0}};
        ASSERT_EQ(m_Device.QueueQuadsUP(1, q, sizeof(Vertex)), D3D_OK);
    }
    void Solid(PfGLTexture& texture, uint32_t color)
    {
        if (!texture.IsCreated())
        {
            ASSERT_EQ(texture.Create(4, 4, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
        }
        uint32_t pitch = 0;
        auto* bits = (uint8_t*)texture.LockRect(nullptr, 0, &pitch);
        ASSERT_NE(bits, nullptr);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                std::memcpy(bits + y * pitch + x * 4, &color, 4);
        ASSERT_EQ(texture.UnlockRect(), D3D_OK);
    }

    SDL_Window* m_Window = nullptr;
    PfGLDevice m_Device;
};

} // namespace

TEST_F(PfGLDeviceQuadQueueTest, QuadsUnderTheSameStatesAreOneDrawCall)
{
    m_Device.SetTexture(0, nullptr);
    const uint64_t before = m_Device.GetDrawCallCount();
    for (int i = 0; i < 100; ++i)
        Queue(i * 2.0f - 0.5f, -0.5f, i * 2.0f + 1.5f, 9.5f, 0xFF00FF00);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 100u);
    EXPECT_EQ(m_Device.GetDrawCallCount(), before);
    EXPECT_EQ(BackPixel(150, 5), 0xFF00FF00u); // the read-back sends the queue
    EXPECT_EQ(m_Device.GetDrawCallCount(), before + 1);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 0u);
}

TEST_F(PfGLDeviceQuadQueueTest, StateChangeSendsTheQuadsQueuedBeforeIt)
{
    PfGLTexture red, blue;
    Solid(red, 0xFFFF0000);
    Solid(blue, 0xFF0000FF);
    m_Device.SetTexture(0, &red);
    Queue(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFFFFFF);
    m_Device.SetTexture(0, &blue);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 0u);
    Queue(9.5f, -0.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    m_Device.SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 0u);
    EXPECT_EQ(BackPixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(15, 5), 0xFF0000FFu);
    // Setting a state to the value it has keeps the queue.
    Queue(19.5f, -0.5f, 29.5f, 9.5f, 0xFFFFFFFF);
    m_Device.SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678);
    m_Device.SetTexture(0, &blue);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 1u);
}

TEST_F(PfGLDeviceQuadQueueTest, TextureLockSendsQuadsThatSampleItsOldContent)
{
    PfGLTexture texture;
    Solid(texture, 0xFFFF0000);
    m_Device.SetTexture(0, &texture);
    Queue(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFFFFFF);
    Solid(texture, 0xFF00FF00);
    Queue(9.5f, -0.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    EXPECT_EQ(BackPixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(15, 5), 0xFF00FF00u);
}

TEST_F(PfGLDeviceQuadQueueTest, EndSceneAndClearSendTheQueue)
{
    m_Device.SetTexture(0, nullptr);
    Queue(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFFFFFF);
    ASSERT_EQ(m_Device.EndScene(), D3D_OK);
    EXPECT_EQ(m_Device.GetQueuedQuadCount(), 0u);
    Queue(9.5f, -0.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    EXPECT_EQ(BackPixel(15, 5), 0xFF000000u); // drawn, then cleared: the order holds
    EXPECT_EQ(m_Device.QueueQuadsUP(0, nullptr, 32), D3DERR_INVALIDCALL);
}
