#pragma once

// A temporary folder holding the logs and the files a test writes; a started graphics device on a real
// window with pixel read-back of render target 0 (headless runs draw on llvmpipe); golden pictures.

#include "KvExpect.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxImage.h"
#include "graphics/GxSurfaceBase.h"
#include "graphics/GxSwapChain.h"
#include "platform/PfD3DTypes.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"
#include "platform/PfImage.h"
#include "platform/PfImageDecoder.h"
#include "platform/PfPngWriter.h"
#include "platform/PfWindow.h"
#include "support/KvFolderGuard.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

// The error, device and debug logs go to a fresh temporary folder, removed with everything in it.
class KvScratchFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kvgfxXXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        m_Dir = made;
        m_Guard.emplace(m_Dir);
        m_SavedDevice = GxLog::GetDeviceLogPath();
        m_SavedError = GxLog::GetErrorLogPath();
        m_SavedDebug = GxLog::GetDebugLogPath();
        GxLog::SetDeviceLogPath(WidePath("device.log"));
        GxLog::SetErrorLogPath(WidePath("error.log"));
        GxLog::SetDebugLogPath(WidePath("debug.log"));
    }
    void TearDown() override
    {
        GxLog::SetDeviceLogPath(m_SavedDevice);
        GxLog::SetErrorLogPath(m_SavedError);
        GxLog::SetDebugLogPath(m_SavedDebug);
        if (!m_Dir.empty())
            nftw(m_Dir.c_str(), &RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
        m_Guard.reset();
    }
    static int RemoveOne(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

    std::string Path(const std::string& name) const { return m_Dir + "/" + name; }
    std::wstring WidePath(const std::string& name) const { return GxString::FromUtf8(Path(name)); }
    // The folder as a texture-folder prefix: its path followed by the separator.
    std::wstring Folder() const { return GxString::FromUtf8(m_Dir) + L"/"; }
    // Writes the bytes to the named file and returns its full wide path.
    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(Path(name), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), (std::streamsize)bytes.size());
        return WidePath(name);
    }
    // An 8 x 8 checker of white and mid grey as a PNG file; returns its full wide path.
    std::wstring WriteChecker(const std::string& name)
    {
        uint32_t pixels[8 * 8];
        for (uint32_t i = 0; i < 64; ++i)
            pixels[i] = (((i % 8) ^ (i / 8)) & 1) ? 0xFF808080u : 0xFFFFFFFFu;
        EXPECT_TRUE(PfPngWriter::Write(Path(name), 8, 8, (const uint8_t*)pixels));
        return WidePath(name);
    }
    // A log file of the temporary folder as text ("" when absent).
    std::wstring ReadLog(const char* name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return GxString::FromUtf16LE(bytes.data(), bytes.size());
    }
    // Whether a log file of the temporary folder holds the text.
    bool Logged(const std::wstring& text, const char* name = "error.log") const
    {
        return ReadLog(name).find(text) != std::wstring::npos;
    }

    std::string m_Dir;
    // Removes the folder when the process is killed before TearDown.
    std::optional<KvFolderGuard> m_Guard;
    std::wstring m_SavedDevice, m_SavedError, m_SavedDebug;
};

// The ARGB value of a texel of a device texture as last read back.
inline uint32_t KvTexel(const PfGLTexture* t, uint32_t x, uint32_t y)
{
    uint32_t argb;
    std::memcpy(&argb, t->GetData() + (size_t)y * t->GetPitch() + (size_t)x * 4, 4);
    return argb;
}

class KvGraphicsFixture : public KvScratchFixture
{
protected:
    void SetUp() override
    {
        KvScratchFixture::SetUp();
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
        KvScratchFixture::TearDown();
    }

    static intptr_t Proc(PfWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam, void*)
    {
        return window->DefWindowProc(message, wParam, lParam);
    }

    PfGLDevice* Device() { return GxGraphics::GetDevice(); }
    // The ARGB value of a pixel of the current render target 0.
    uint32_t Pixel(int x, int y)
    {
        PfGLTexture* target = Device()->GetRenderTarget(0);
        EXPECT_NE(target, nullptr);
        if (!target || target->ReadBack() != D3D_OK)
            return 0;
        return KvTexel(target, x, y);
    }
    // The current viewport as {X, Y, Width, Height}.
    static std::vector<uint32_t> Viewport()
    {
        const auto& v = GxGraphics::GetViewport();
        return {v.X, v.Y, v.Width, v.Height};
    }
    // The top-left width x height pixels of render target 0, alpha set opaque (the back buffer has none).
    std::vector<uint32_t> Screen(uint32_t width, uint32_t height)
    {
        std::vector<uint32_t> screen;
        PfGLTexture* target = Device()->GetRenderTarget(0);
        EXPECT_TRUE(target && target->ReadBack() == D3D_OK);
        if (!target)
            return screen;
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x)
                screen.push_back(KvTexel(target, x, y) | 0xFF000000u);
        return screen;
    }

    PfWindow m_Window;
};

// A surface of its own over a device texture: a render target for the stack tests, or a picture.
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
        m_Pool = usage ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED;
        return true;
    }
    PfGLTexture m_Texture;
};

// Expects picture.GetPixel(x, y) to be the value for each {x, y, value}.
template <typename Picture> void KvExpectPixels(Picture& picture, std::initializer_list<std::array<uint32_t, 3>> cases)
{
    for (const auto& [x, y, value] : cases)
        EXPECT_EQ(picture.GetPixel(x, y), value) << "at " << x << "," << y;
}

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

// Compares a screen with the stored picture tests/graphics/golden/<name> and returns, for each limit, how many
// pixels differ from it by more than that many levels in some channel. With KV_UPDATE_GOLDEN=1 the screen is
// written over the stored picture instead (after an intended change of the drawing) and nothing is counted.
inline std::vector<size_t> KvCompareWithGolden(const std::string& name, const std::vector<uint32_t>& screen,
                                               uint32_t width, uint32_t height, std::vector<int> limits)
{
    const char* source = std::getenv("KV_SOURCE_DIR");
    const std::string path = std::string(source ? source : ".") + "/tests/graphics/golden/" + name;
    std::vector<size_t> over(limits.size(), 0);
    const char* update = std::getenv("KV_UPDATE_GOLDEN");
    if (update && std::string(update) == "1")
    {
        EXPECT_TRUE(PfPngWriter::Write(path, width, height, (const uint8_t*)screen.data())) << path;
        return over;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PfImage golden;
    std::string error;
    const bool read = PfImageDecoder::Decode(bytes.data(), bytes.size(), golden, error) && golden.GetWidth() == width &&
                      golden.GetHeight() == height && screen.size() == width * height;
    EXPECT_TRUE(read) << path << ": " << error << "\nTo regenerate: KV_UPDATE_GOLDEN=1 build/tests/kv_tests_graphics";
    if (!read)
        return std::vector<size_t>(limits.size(), screen.size());
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const int d = ChannelDistance(screen[(size_t)y * width + x], golden.GetPixel(x, y) | 0xFF000000u);
            for (size_t i = 0; i < limits.size(); ++i)
                over[i] += d > limits[i];
        }
    return over;
}
