// F4 in the main window's procedure: windowed to full screen and back through the device reset.
#include "GraphicsTestSupport.h"

#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxWindowMessage.h"
#include "graphics/GxD3DResourceManage.h"
#include "task/GxTaskManage.h"

namespace
{

int s_Lost = 0;
int s_Reset = 0;

class CountingResource : public GxD3DResourceBase
{
public:
    ~CountingResource() override { GxD3DResourceManage::GetInstance().Unregister(this); }
    void OnLostDevice() override { ++s_Lost; }
    void OnResetDevice() override { ++s_Reset; }
};

} // namespace

TEST(GxCoreScreenModeKey, F4GoesFullScreenAndBackThroughTheResetWalk)
{
    char pattern[] = "/tmp/kvf4XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::wstring savedDevice = GxLog::GetDeviceLogPath();
    const std::wstring savedError = GxLog::GetErrorLogPath();
    GxLog::SetDeviceLogPath(GxString::FromUtf8(std::string(pattern) + "/device.log"));
    GxLog::SetErrorLogPath(GxString::FromUtf8(std::string(pattern) + "/error.log"));
    {
        GxCore core;
        core.m_Title = L"GxCoreScreenModeKey";
        core.m_TaskManage = new GxTaskManage(&core);
        core.m_UserConfig = new GxUserConfig();
        ASSERT_TRUE(core.CreateMainWindow());
        GxDisplaySettings::Get() = GxDisplaySettings();
        GxDisplaySettings::Get().m_WindowWidth = GxDisplaySettings::Get().m_BackBufferWidth = 1024;
        GxDisplaySettings::Get().m_WindowHeight = GxDisplaySettings::Get().m_BackBufferHeight = 768;
        ASSERT_TRUE(GxGraphics::Initialize(core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr));
        CountingResource resource;
        GxD3DResourceManage::GetInstance().Register(&resource);
        s_Lost = s_Reset = 0;

        core.m_MainWindow->SendMessage(WM_KEYDOWN, VK_F4, 1);
        EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, (uint32_t)SCRMODE_FULLSCREEN);
        EXPECT_EQ(core.m_UserConfig->m_ScreenMode, 1);
        EXPECT_EQ(s_Lost, 1);
        EXPECT_EQ(s_Reset, 1);
        EXPECT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0));
        EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));

        core.m_MainWindow->SendMessage(WM_KEYDOWN, VK_F4, 1);
        EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, (uint32_t)SCRMODE_WINDOW);
        EXPECT_EQ(core.m_UserConfig->m_ScreenMode, 0);
        EXPECT_EQ(s_Lost, 2);
        EXPECT_EQ(s_Reset, 2);
        EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));

        GxD3DResourceManage::GetInstance().Unregister(&resource);
        GxGraphics::Finalize();
        delete core.m_TaskManage;
        core.m_TaskManage = nullptr;
    }
    GxLog::SetDeviceLogPath(savedDevice);
    GxLog::SetErrorLogPath(savedError);
    std::remove((std::string(pattern) + "/device.log").c_str());
    std::remove((std::string(pattern) + "/error.log").c_str());
    rmdir(pattern);
}
