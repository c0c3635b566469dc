// Screen modes and the device reset walk.
#include "GraphicsTestSupport.h"

#include "graphics/GxD3DResourceManage.h"

#include <algorithm>
#include <vector>

namespace
{

std::vector<std::string> s_Calls;

class RecordingResource : public GxD3DResourceBase
{
public:
    explicit RecordingResource(std::string id) : m_Id(std::move(id)) {}
    ~RecordingResource() override { GxD3DResourceManage::GetInstance().Unregister(this); }
    void OnLostDevice() override { s_Calls.push_back("lost " + m_Id); }
    void OnResetDevice() override { s_Calls.push_back("reset " + m_Id); }
    std::string m_Id;
};

bool Record(const char* what, uint32_t newMode, uint32_t oldMode)
{
    s_Calls.push_back(what + std::to_string(newMode) + " " + std::to_string(oldMode));
    return true;
}

class RecordingListener : public GxGraphicsResetListener
{
public:
    bool OnBeforeReset(uint32_t n, uint32_t o) override { return Record("listener before ", n, o); }
    bool OnAfterReset(uint32_t n, uint32_t o) override { return Record("listener after ", n, o); }
};

} // namespace

class GxGraphicsScreenModeTest : public KvGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        GxGraphics::Finalize();
        ASSERT_TRUE(GxGraphics::Initialize(
            m_Window.GetSDLWindow(), &m_Listener, [](uint32_t n, uint32_t o) { return Record("before ", n, o); },
            [](uint32_t n, uint32_t o) { return Record("after ", n, o); }));
        s_Calls.clear();
    }
    RecordingListener m_Listener;
};

TEST_F(GxGraphicsScreenModeTest, ResetWalkLosesAndRestoresEveryResourceInOrder)
{
    // Three resources at increasing addresses: the registry walks them by address.
    RecordingResource resources[3] = {RecordingResource("a"), RecordingResource("b"), RecordingResource("c")};
    for (RecordingResource& r : resources)
        GxD3DResourceManage::GetInstance().Register(&r);

    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN));
    std::vector<std::string> mine;
    for (const std::string& call : s_Calls)
        if (call.rfind("lost ", 0) == 0 || call.rfind("reset ", 0) == 0 || call.find("before") != std::string::npos ||
            call.find("after") != std::string::npos)
            mine.push_back(call);
    const std::vector<std::string> expected = {"lost a",  "lost b",  "lost c",  "listener before 2 0", "before 2 0",
                                               "reset a", "reset b", "reset c", "listener after 2 0",  "after 2 0"};
    EXPECT_EQ(mine, expected);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, (uint32_t)SCRMODE_FULLSCREEN);
    for (RecordingResource& r : resources)
        EXPECT_TRUE(GxD3DResourceManage::GetInstance().Unregister(&r));
}

TEST_F(GxGraphicsScreenModeTest, WindowToFullScreenAndBackKeepsDrawing)
{
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN));
    EXPECT_EQ(GxGraphics::GetPresentParameters(SCRMODE_FULLSCREEN).Windowed, 0);
    // Full screen keeps the back-buffer size and stretches it over the desktop.
    EXPECT_EQ(Device()->GetRenderTarget(0)->GetWidth(), 1024u);
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0));
    EXPECT_EQ(Pixel(512, 384), 0xFF00FF00u);
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_WINDOW));
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, (uint32_t)SCRMODE_WINDOW);
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{0, 0, 1024, 768}));
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0));
    EXPECT_EQ(Pixel(1023, 767), 0xFF0000FFu);
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
    EXPECT_FALSE(Logged(L"Reset"));
}

TEST_F(GxGraphicsScreenModeTest, ModesWithoutPresentParametersAreRefusedAndUnforcedResetDoesNothing)
{
    EXPECT_TRUE(GxGraphics::Reset(false, SCRMODE_WINDOW, SCRMODE_WINDOW));
    EXPECT_TRUE(s_Calls.empty());
    for (uint32_t mode = SCRMODE_FULL320X240; mode <= SCRMODE_FULL1920X1080 + 1; ++mode)
    {
        s_Calls.clear();
        EXPECT_FALSE(GxGraphics::ChangeScreenMode(mode)) << mode;
        EXPECT_TRUE(s_Calls.empty()) << mode;
        EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, (uint32_t)SCRMODE_WINDOW);
    }
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0));
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
}

TEST_F(GxGraphicsScreenModeTest, PushedTargetIsSetAgainAfterTheReset)
{
    KvTestRenderTarget target;
    ASSERT_TRUE(target.Create(64, 32));
    const PfRect rect = {4, 4, 20, 20};
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &target, nullptr, &rect));
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN));
    EXPECT_EQ(Device()->GetRenderTarget(0), &target.m_Texture);
    EXPECT_EQ(Viewport(), (std::vector<uint32_t>{4, 4, 16, 16}));
    ASSERT_TRUE(GxGraphics::PopRenderTarget(0));
    ASSERT_TRUE(GxGraphics::ChangeScreenMode(SCRMODE_WINDOW));
}

TEST_F(GxGraphicsScreenModeTest, VSyncAndMultiSampleSettingsShapeThePresentParameters)
{
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    D3DPRESENT_PARAMETERS p;
    ds.m_VSyncInterval = 3;
    GxGraphics::MakePresentParameters(p, m_Window.GetSDLWindow(), 0);
    EXPECT_EQ(p.PresentationInterval, 4u);
    ds.m_VSyncInterval = 0;
    GxGraphics::MakePresentParameters(p, m_Window.GetSDLWindow(), 0);
    KvExpectEq<uint32_t>({{p.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE},
                          {(uint32_t)p.EnableAutoDepthStencil, 0},
                          {p.BackBufferWidth, 1024}});
    // Sample counts the implementation cannot do set the setting back to none.
    ds.m_MultiSampleMode = 2;
    GxGraphics::MakePresentParameters(p, m_Window.GetSDLWindow(), 2);
    EXPECT_EQ(p.Windowed, 0);
    if (p.MultiSampleType == D3DMULTISAMPLE_NONE)
        EXPECT_EQ(ds.m_MultiSampleMode, 0u);
    else
        EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_2_SAMPLES);
    ds.m_MultiSampleMode = 0;
}
