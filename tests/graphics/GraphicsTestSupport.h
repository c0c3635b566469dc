#pragma once

// A started graphics device on a real window, its logs in a temporary folder, and pixel read-back of the
// current render target 0. Headless runs draw on llvmpipe.

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxSurfaceBase.h"
#include "graphics/GxSwapChain.h"
#include "platform/PfD3DTypes.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"
#include "platform/PfWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <string>
#include <unistd.h>

class KvGraphicsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kvgfxXXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        m_Dir = made;
        m_SavedDevice = GxLog::GetDeviceLogPath();
        m_SavedError = GxLog::GetErrorLogPath();
        GxLog::SetDeviceLogPath(GxString::FromUtf8(m_Dir + "/device.log"));
        GxLog::SetErrorLogPath(GxString::FromUtf8(m_Dir + "/error.log"));
        GxDisplaySettings& ds = GxDisplaySettings::Get();
        ds = GxDisplaySettings();
        // As the game's start-up hook sets them.
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_CursorMode = 1;
        ds.m_LockableBackBuffer = false;
        ds.m_SwapEffect = 2;
        ds.m_VSyncInterval = 0;
        ASSERT_TRUE(m_Window.Create("KvGraphicsTest", 1024, 768, PfWindowStyle::Framed, &Proc, nullptr))
            << m_Window.GetLastError();
        ASSERT_TRUE(GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr));
    }
    void TearDown() override
    {
        GxGraphics::SetQuitRequest(nullptr);
        GxGraphics::Finalize();
        m_Window.Destroy();
        GxLog::SetDeviceLogPath(m_SavedDevice);
        GxLog::SetErrorLogPath(m_SavedError);
        if (!m_Dir.empty())
            nftw(m_Dir.c_str(), &RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
    }

    static intptr_t Proc(PfWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam, void*)
    {
        return window->DefWindowProc(message, wParam, lParam);
    }
    static int RemoveOne(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

    // A log file of the temporary folder as text ("" when absent).
    std::wstring ReadLog(const char* name) const
    {
        std::ifstream in(m_Dir + "/" + name, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return GxString::FromUtf16LE(bytes.data(), bytes.size());
    }

    PfGLDevice* Device() { return GxGraphics::GetDevice(); }
    // The ARGB value of a pixel of the current render target 0.
    uint32_t Pixel(int x, int y)
    {
        PfGLTexture* target = Device()->GetRenderTarget(0);
        EXPECT_NE(target, nullptr);
        if (!target || target->ReadBack() != D3D_OK)
            return 0;
        uint32_t argb;
        std::memcpy(&argb, target->GetData() + (size_t)y * target->GetPitch() + (size_t)x * 4, 4);
        return argb;
    }

    std::string m_Dir;
    std::wstring m_SavedDevice;
    std::wstring m_SavedError;
    PfWindow m_Window;
};

// A render-target surface of its own for the stack tests.
class KvTestRenderTarget : public GxSurfaceBase
{
public:
    bool Create(uint32_t width, uint32_t height, uint32_t usage = D3DUSAGE_RENDERTARGET,
                D3DFORMAT format = D3DFMT_A8R8G8B8)
    {
        if (m_Texture.Create(width, height, 1, usage, format) != D3D_OK)
            return false;
        m_pTexture = &m_Texture;
        m_Width = m_ImageWidth = width;
        m_Height = m_ImageHeight = height;
        m_Format = format;
        m_Pool = D3DPOOL_DEFAULT;
        return true;
    }
    PfGLTexture m_Texture;
};

inline int ChannelDistance(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int d = std::abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF));
        worst = d > worst ? d : worst;
    }
    return worst;
}
