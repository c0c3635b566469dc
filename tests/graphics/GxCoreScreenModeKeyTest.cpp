// F4 in the main window's procedure: windowed to full screen and back through the device reset.
#include "GraphicsTestSupport.h"

#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "graphics/GxD3DResourceManage.h"
#include "platform/GxWindowMessage.h"
#include "task/GxTaskManage.h"

#include <tuple>

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

using GxCoreScreenModeKey = KvScratchFixture;

TEST_F(GxCoreScreenModeKey, F4GoesFullScreenAndBackThroughTheResetWalk)
{
    GxCore core;
    core.m_Title = L"GxCoreScreenModeKey";
    core.m_TaskManage = new GxTaskManage(&core);
    core.m_UserConfig = new GxUserConfig();
    ASSERT_TRUE(core.CreateMainWindow());
    GxDisplaySettings& ds = GxDisplaySettings::Get() = GxDisplaySettings();
    ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
    ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
    ASSERT_TRUE(GxGraphics::Initialize(core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr));
    CountingResource resource;
    GxD3DResourceManage::GetInstance().Register(&resource);
    s_Lost = s_Reset = 0;

    // Each press switches the mode, stores it in the user's settings and walks the resources once.
    for (auto [mode, stored, walks] : {std::tuple{SCRMODE_FULLSCREEN, 1, 1}, {SCRMODE_WINDOW, 0, 2}})
    {
        core.m_MainWindow->SendMessage(WM_KEYDOWN, VK_F4, 1);
        KvExpectEq<int64_t>({{GxDisplaySettings::Get().m_ScreenMode, mode},
                             {core.m_UserConfig->m_ScreenMode, stored},
                             {s_Lost, walks},
                             {s_Reset, walks}});
        EXPECT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0));
        EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
    }

    GxD3DResourceManage::GetInstance().Unregister(&resource);
    GxGraphics::Finalize();
    delete core.m_TaskManage;
    core.m_TaskManage = nullptr;
}
