// The core's screen service on a real device: the sequences' clear, the cross-fade of a switch read back
// half-way, the capture picture's life with the device, and the user dialog's answer.
#include "GraphicsTestSupport.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "core/GxCoreScreenService.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "task/GxSeqTransitBase.h"
#include "task/GxTaskManage.h"

namespace
{

// A screen that clears to a colour of its own on layer 0.
class ColourSequence : public GxSeqTransitBase
{
public:
    ColourSequence(GxTaskBase* parent, const wchar_t* name, uint32_t colour)
        : GxSeqTransitBase(parent, name), m_Colour(colour)
    {
    }
    int32_t Draw(int32_t param, int32_t layer) override
    {
        if (param != 0)
            return GxSeqTransitBase::Draw(param, layer);
        GxGraphics::Clear(D3DCLEAR_TARGET, m_Colour, 1.0f, 0);
        return 0;
    }
    uint32_t m_Colour;
};

// Time moves only when the test moves it.
class ManualClock : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return m_Now; }
    void Sleep(uint32_t ms) override { m_Now += ms; }
    uint64_t m_Now = 1000;
};

} // namespace

using GxCoreScreenServiceTest = KvGraphicsFixture;

TEST_F(GxCoreScreenServiceTest, SwitchCrossFadesFromTheCapturedScreenAndTheServiceClearsAndKeepsAnswers)
{
    ManualClock clock;
    GxCore core;
    core.m_FrameTimer.SetTimeSource(&clock);
    core.m_SystemConfig = new GxSystemConfig();
    core.m_SystemConfig->m_SequenceLeaveTime = 400;
    core.m_SystemConfig->m_ScreenFillColor = 0xFF00FF00;
    core.m_UserData = new GxUserData(&core);
    core.m_TaskManage = new GxTaskManage(&core);
    core.m_TaskManage->SetRenderLists(core.m_RenderManage, &core.m_RenderBank);
    core.m_TaskManage->SetScreenService(core.GetScreenService());
    core.m_ThreadManage = new GxThreadManage(nullptr);
    GxTaskBase* root = new GxTaskBase(core.m_TaskManage);
    auto* red = new ColourSequence(root, L"SeqRed", 0xFFFF0000);
    auto* blue = new ColourSequence(root, L"SeqBlue", 0xFF0000FF);

    core.m_TaskManage->ChangeSequence(red, 0, 0);
    core.m_TaskManage->ApplyPendingSequence();
    core.Frame();
    EXPECT_EQ(Pixel(512, 384) | 0xFF000000u, 0xFFFF0000u);

    // Leaving the red screen captures it; the blue one fades it out over 400 ms. Half-way, half of each.
    core.m_TaskManage->ChangeSequence(blue, 0, 0);
    core.m_TaskManage->ApplyPendingSequence();
    ASSERT_TRUE(blue->IsTransit());
    clock.m_Now += 200;
    core.Frame();
    for (auto [x, y] : {std::pair{0, 0}, {1023, 767}, {512, 384}})
        EXPECT_LE(ChannelDistance(Pixel(x, y) | 0xFF000000u, 0xFF800080u), 2) << x << "," << y;
    clock.m_Now += 300;
    core.Frame();
    EXPECT_FALSE(blue->IsTransit());
    EXPECT_EQ(Pixel(512, 384) | 0xFF000000u, 0xFF0000FFu);

    // The sequences' clear takes the configured colour; a dialog's answer lands in the user data.
    core.GetScreenService()->ClearScreen();
    EXPECT_EQ(Pixel(3, 3) | 0xFF000000u, 0xFF00FF00u);
    for (int32_t answer : {1, 0})
    {
        core.GetScreenService()->SetDialogResult(answer);
        EXPECT_EQ(core.m_UserData->m_LastDialogResult, answer);
    }

    core.GetScreenService()->ReleaseCapture();
    EXPECT_EQ(core.GetScreenService()->GetCaptureTexture(), nullptr);
    delete core.m_ThreadManage;
    core.m_ThreadManage = nullptr;
    delete core.m_TaskManage;
    core.m_TaskManage = nullptr;
}
