#pragma once

// An OpenGL device on a hidden window of its own size, pixel read-back, pre-transformed quads and solid
// textures for the device tests.

#include "platform/PfGLDevice.h"
#include "platform/PfGLDriverOptions.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

struct KvVertex2D
{
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
constexpr uint32_t FVF_2D = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

class KvGLDeviceFixture : public ::testing::Test
{
protected:
    KvGLDeviceFixture(uint32_t width, uint32_t height, uint32_t samples = 0)
        : m_Width(width), m_Height(height), m_Samples(samples)
    {
    }
    void SetUp() override
    {
        // The driver options the program's own windows start with, before this window loads the driver.
        PfGLDriverOptions::Apply();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // One extra hold on the OpenGL library keeps it loaded when the last window goes, so the driver's
        // own caches stay attributable to it for the leak checker.
        static const bool s_Loaded = SDL_GL_LoadLibrary(nullptr) == 0;
        ASSERT_TRUE(s_Loaded) << SDL_GetError();
        m_Window = SDL_CreateWindow("KvGLDeviceTest", 0, 0, m_Width, m_Height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_Window, nullptr) << SDL_GetError();
        ASSERT_EQ(m_Device.CreateContext(m_Window), D3D_OK) << m_Device.GetErrorLog();
        D3DPRESENT_PARAMETERS p = {};
        p.BackBufferWidth = m_Width;
        p.BackBufferHeight = m_Height;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1;
        p.Windowed = 1;
        p.hDeviceWindow = m_Window;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        p.MultiSampleType = (D3DMULTISAMPLE_TYPE)m_Samples;
        ASSERT_EQ(m_Device.CreateDevice(p), D3D_OK) << m_Device.GetErrorLog();
    }
    void TearDown() override
    {
        m_Device.Destroy();
        if (m_Window)
            SDL_DestroyWindow(m_Window);
    }
    // Unlit, uncut drawing of texture times vertex colour, alpha included.
    void Modulate2D()
    {
        m_Device.SetRenderState(D3DRS_LIGHTING, 0);
        m_Device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        for (auto [op, arg1, arg2] : {std::tuple{D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2},
                                      std::tuple{D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2}})
        {
            m_Device.SetTextureStageState(0, op, D3DTOP_MODULATE);
            m_Device.SetTextureStageState(0, arg1, D3DTA_TEXTURE);
            m_Device.SetTextureStageState(0, arg2, D3DTA_DIFFUSE);
        }
    }
    uint32_t Pixel(PfGLTexture* target, int x, int y)
    {
        EXPECT_EQ(target->ReadBack(), D3D_OK);
        uint32_t argb;
        std::memcpy(&argb, target->GetData() + (size_t)y * target->GetPitch() + (size_t)x * 4, 4);
        return argb;
    }
    uint32_t BackPixel(int x, int y) { return Pixel(m_Device.GetSwapChain(0)->GetBackBuffer(), x, y); }
    // The four corners of a rectangle in fan order, texture coordinates over the whole texture.
    static void Corners(KvVertex2D* q, float l, float t, float r, float b, uint32_t diffuse)
    {
        q[0] = {l, t, 0, 1, diffuse, 0, 0, 0};
        q[1] = {l, b, 0, 1, diffuse, 0, 0, 1};
        q[2] = {r, b, 0, 1, diffuse, 0, 1, 1};
        q[3] = {r, t, 0, 1, diffuse, 0, 1, 0};
    }
    // Creates the texture at 4 x 4 if need be and fills it with one colour.
    static void Solid(PfGLTexture& texture, uint32_t color)
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

    uint32_t m_Width, m_Height;
    uint32_t m_Samples = 0;
    SDL_Window* m_Window = nullptr;
    PfGLDevice m_Device;
};
