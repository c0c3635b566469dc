#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxCoreScreenService.h"
#include "core/GxLog.h"
#include "core/GxVector2.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "platform/GxWindowMessage.h"
#include "platform/PfWindow.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

#include <gtest/gtest.h>

#include <vector>

// A sequence that records what reaches it and takes presses, keys and close requests as told.
class RecordingSeq : public GxSeqBase
{
public:
    RecordingSeq(GxTaskBase* parent, const wchar_t* name) : GxSeqBase(parent, name) {}

    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t) override
    {
        m_Presses.emplace_back(point[0], point[1]);
        m_Keys = keys;
        return m_TakePress ? 1 : 0;
    }
    int32_t OnMouseLeftUp(const float* point, uint32_t) override
    {
        m_Releases.emplace_back(point[0], point[1]);
        return 1;
    }
    int32_t OnKeyDown(uint32_t key, uint32_t) override
    {
        m_KeysDown.push_back(key);
        return m_TakeKeys ? 1 : 0;
    }
    int32_t OnCloseRequest() override { return m_VetoClose ? 1 : 0; }
    int32_t OnScreenModeChange(int32_t, int32_t) override
    {
        ++m_ScreenModeChanges;
        return 0;
    }

    std::vector<GxVector2> m_Presses;
    std::vector<GxVector2> m_Releases;
    std::vector<uint32_t> m_KeysDown;
    uint32_t m_Keys = 0;
    bool m_TakePress = true;
    bool m_TakeKeys = false;
    bool m_VetoClose = false;
    int m_ScreenModeChanges = 0;
};

class GxCoreWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Core.m_Title = L"GxCoreWindowTest";
        m_Core.m_TaskManage = new GxTaskManage(&m_Core);
        m_Root = new GxTaskBase(m_Core.m_TaskManage);
        m_System = new RecordingSeq(m_Root, L"SeqSystem");
        m_Core.m_TaskManage->SetSystemSequence(m_System);
        ASSERT_TRUE(m_Core.CreateMainWindow());
    }
    void TearDown() override
    {
        delete m_Core.m_TaskManage;
        m_Core.m_TaskManage = nullptr;
    }

    intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam)
    {
        return m_Core.m_MainWindow->SendMessage(message, wParam, lParam);
    }
    // Dispatches every posted message; true when a quit message came through.
    bool DrainPosted()
    {
        GxWindowMessage m;
        bool quit = false;
        while (m_Core.m_MainWindow->PeekMessage(m))
        {
            if (m.message == WM_QUIT)
                quit = true;
            else
                m_Core.m_MainWindow->DispatchMessage(m);
        }
        return quit;
    }

    GxCore m_Core;
    GxTaskBase* m_Root = nullptr;
    RecordingSeq* m_System = nullptr;
};

TEST_F(GxCoreWindowTest, ClickIsScaledByTheClientAreaToTheVirtualScreenAndZeroAreaKeepsTheScale)
{
    m_Core.m_MainWindow->SetClientSize(2048, 1536);
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, GxMakePointParam(1024, 768));
    ASSERT_EQ(m_System->m_Presses.size(), 1u);
    EXPECT_FLOAT_EQ(m_System->m_Presses[0].x, 512.0f);
    EXPECT_FLOAT_EQ(m_System->m_Presses[0].y, 384.0f);
    EXPECT_EQ(m_System->m_Keys, MK_LBUTTON | MK_SHIFT);
    GxCore::MouseMapping map;
    map.m_Scale = 3.0f;
    EXPECT_FALSE(GxCore::ComputeMouseMapping(0, 0, map));
    EXPECT_EQ(map.m_Scale, 3.0f);
    // The picture keeps its shape: positions go through its centred rectangle, and one in a bar clamps to
    // the picture's edge. {client w, h, position x, y, virtual x, y}
    struct Case
    {
        int w, h, x, y;
        float vx, vy;
    };
    for (const Case& c : {Case{512, 384, 256, 192, 512.0f, 384.0f}, Case{1920, 1080, 240, 0, 0.0f, 0.0f},
                          Case{1920, 1080, 1679, 1079, 1023.0f, 767.0f}, Case{1920, 1080, 960, 540, 512.0f, 384.0f},
                          Case{1920, 1080, 100, 540, 0.0f, 384.0f}, Case{1920, 1080, 1800, 1079, 1023.0f, 767.0f},
                          Case{1280, 1024, 0, 32, 0.0f, 0.0f}, Case{1280, 1024, 640, 10, 512.0f, 0.0f},
                          Case{1280, 1024, 1279, 1000, 1023.0f, 767.0f}})
    {
        ASSERT_TRUE(GxCore::ComputeMouseMapping(c.w, c.h, map));
        float vx = -1.0f;
        float vy = -1.0f;
        GxCore::MapMouse(map, c.x, c.y, vx, vy);
        EXPECT_NEAR(vx, c.vx, 0.75f) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        EXPECT_NEAR(vy, c.vy, 0.75f) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }
}

TEST_F(GxCoreWindowTest, ReleaseNeedsTheCaptureAndMovingResetsTheFrameTimer)
{
    Send(WM_LBUTTONUP, 0, GxMakePointParam(5, 5));
    EXPECT_TRUE(m_System->m_Releases.empty());

    Send(WM_LBUTTONDOWN, MK_LBUTTON, GxMakePointParam(5, 5));
    EXPECT_TRUE(m_Core.m_MainWindow->HasCapture());
    // Released outside the window: still delivered, with the position beyond the client area.
    Send(WM_LBUTTONUP, 0, GxMakePointParam(-10, 2000));
    ASSERT_EQ(m_System->m_Releases.size(), 1u);
    EXPECT_LT(m_System->m_Releases[0].x, 0.0f);
    EXPECT_FALSE(m_Core.m_MainWindow->HasCapture());

    Send(WM_LBUTTONUP, 0, GxMakePointParam(5, 5));
    EXPECT_EQ(m_System->m_Releases.size(), 1u);
    m_Core.m_FrameTimer.m_Accumulator = 5000;
    m_Core.m_FrameTimer.m_LastStart = 1234;
    Send(WM_WINDOWPOSCHANGED, 0, 0);
    EXPECT_EQ(m_Core.m_FrameTimer.m_Accumulator, 0);
    EXPECT_EQ(m_Core.m_FrameTimer.m_LastStart, 0u);
}

TEST_F(GxCoreWindowTest, FunctionKeysSetTheTargetRateAndSystemKeysNeverReachTheTasks)
{
    Send(WM_SYSKEYDOWN, VK_F10, 1);
    Send(WM_SYSKEYDOWN, VK_MENU, 1 | KF_ALTDOWN_BIT);
    Send(WM_SYSKEYDOWN, 'X', 1 | KF_ALTDOWN_BIT);
    EXPECT_TRUE(m_System->m_KeysDown.empty());
    Send(WM_KEYDOWN, 'X', 1);
    EXPECT_EQ(m_System->m_KeysDown.size(), 1u);
    Send(WM_KEYDOWN, VK_F7, 1);
    EXPECT_EQ(m_Core.m_FrameTimer.m_TargetRate, 10);
    Send(WM_KEYDOWN, VK_F6, 1);
    EXPECT_EQ(m_Core.m_FrameTimer.m_TargetRate, 30);
    Send(WM_KEYDOWN, VK_F5, 1);
    EXPECT_EQ(m_Core.m_FrameTimer.m_TargetRate, 60);
    EXPECT_EQ(m_Core.m_FrameTimer.m_UpdateRate, 60);

    m_System->m_TakeKeys = true;
    Send(WM_KEYDOWN, VK_F7, 1);
    EXPECT_EQ(m_Core.m_FrameTimer.m_TargetRate, 60);
}

TEST_F(GxCoreWindowTest, CloseByAltF4OrBySequenceAsksTheListenersWhoMayVeto)
{
    m_System->m_VetoClose = true;
    Send(WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN_BIT);
    EXPECT_FALSE(DrainPosted());
    EXPECT_FALSE(m_Core.m_Quit);

    m_System->m_VetoClose = false;
    Send(WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN_BIT);
    EXPECT_TRUE(DrainPosted());
    GxCoreScreenService service(&m_Core);
    m_System->m_VetoClose = true;
    service.RequestClose();
    EXPECT_FALSE(DrainPosted());
    m_System->m_VetoClose = false;
    service.RequestClose();
    EXPECT_TRUE(DrainPosted());
}

TEST(GxCore, QuitWithoutAWindowAndInstallPathOf244UnitsRunsAnd245IsRefused)
{
    GxCore core;
    core.Quit();
    EXPECT_TRUE(core.m_Quit);
    std::wstring dir = L"/";
    while (dir.size() < 244)
        dir.insert(dir.size() - 1, L"a");
    EXPECT_FALSE(GxCore::IsInstallPathTooLong(dir));
    dir.insert(dir.size() - 1, L"b");
    EXPECT_TRUE(GxCore::IsInstallPathTooLong(dir));
    // A character outside the basic plane counts as two units.
    std::wstring wide(243, L'a');
    wide += L'\U0001F600';
    EXPECT_EQ(wide.size(), 244u);
    EXPECT_TRUE(GxCore::IsInstallPathTooLong(wide));
}

// The shut-down's factory step: every registered factory reports what it still holds before any is cleared.
static std::string s_FactorySteps;
TEST(GxCore, FactoriesReportInOrderBeforeAnyIsCleared)
{
    GxCore::AddFactoryShutdown([] { s_FactorySteps += "report project,"; }, [] { s_FactorySteps += "clear project,"; });
    GxCore::AddFactoryShutdown([] { s_FactorySteps += "report images,"; }, [] { s_FactorySteps += "clear images,"; });
    GxCore::ReportAndClearFactories();
    EXPECT_EQ(s_FactorySteps, "report project,report images,clear project,clear images,");
}

TEST_F(GxCoreWindowTest, F4TogglesFullScreenAndTellsTheListeners)
{
    const std::wstring errorLog = GxLog::GetErrorLogPath();
    const std::wstring deviceLog = GxLog::GetDeviceLogPath();
    GxLog::SetErrorLogPath(L"");
    GxLog::SetDeviceLogPath(L"");
    GxUserConfig config;
    m_Core.m_UserConfig = &config;
    ASSERT_TRUE(GxGraphics::Initialize(m_Core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr));

    Send(WM_KEYDOWN, VK_F4, 1);
    EXPECT_EQ(config.m_ScreenMode, 1);
    EXPECT_EQ(m_System->m_ScreenModeChanges, 1);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, static_cast<uint32_t>(SCRMODE_FULLSCREEN));

    Send(WM_KEYDOWN, VK_F4, 1);
    EXPECT_EQ(config.m_ScreenMode, 0);
    EXPECT_EQ(m_System->m_ScreenModeChanges, 2);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, static_cast<uint32_t>(SCRMODE_WINDOW));

    // A task that takes F4 keeps it from the engine.
    m_System->m_TakeKeys = true;
    Send(WM_KEYDOWN, VK_F4, 1);
    EXPECT_EQ(m_System->m_ScreenModeChanges, 2);

    GxGraphics::Finalize();
    m_Core.m_UserConfig = nullptr;
    GxLog::SetErrorLogPath(errorLog);
    GxLog::SetDeviceLogPath(deviceLog);
}
