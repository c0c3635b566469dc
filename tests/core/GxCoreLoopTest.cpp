// The engine frame: fixed steps after a stall, only the last step's draw registrations drawn, a pending
// sequence switch ending the steps, the frame-rate title of the debug switch, and a quit signal ending the
// loop before another frame or the frame under way before its draw.
#include "appdata/GxSystemConfig.h"
#include "core/GxCore.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "graphics/GxDisplaySettings.h"
#include "platform/PfSignal.h"
#include "platform/PfWindow.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"

#include <SDL2/SDL_video.h>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace
{

// Time moves only when the test moves it.
class ManualClock : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return m_Now; }
    void Sleep(uint32_t ms) override { m_Now += ms; }
    uint64_t m_Now = 1000;
};

// Counts its update steps, registers one draw per step carrying the step's number, and can ask for a
// switch during a given step.
class StepSeq : public GxSeqBase
{
public:
    StepSeq(GxTaskBase* parent, const wchar_t* name) : GxSeqBase(parent, name) {}
    int32_t Update(int32_t step, int64_t elapsed) override
    {
        m_Elapsed.push_back(elapsed);
        if (step == m_SwitchAt && m_Next)
            GetManager()->ChangeSequence(m_Next, 0, 0);
        if (step == m_SignalAt)
            std::raise(SIGTERM);
        return 0;
    }
    int32_t RegisterDraw(int32_t step, int64_t) override
    {
        GetManager()->GetRenderList(3)->Add(this, GX_RENDER_DEFAULT, 0.0f, step);
        return 0;
    }
    int32_t Draw(int32_t param, int32_t) override
    {
        m_Drawn.push_back(param);
        return 0;
    }
    std::vector<int64_t> m_Elapsed;
    std::vector<int32_t> m_Drawn;
    int32_t m_SwitchAt = -1;
    int32_t m_SignalAt = -1; // the step whose update raises SIGTERM
    GxTaskBase* m_Next = nullptr;
};

class GxCoreLoopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Core.m_Title = L"GxCoreLoopTest";
        m_Core.m_FrameTimer.SetTimeSource(&m_Clock);
        m_Core.m_SystemConfig = new GxSystemConfig();
        m_Core.m_TaskManage = new GxTaskManage(&m_Core);
        m_Core.m_TaskManage->SetRenderLists(m_Core.m_RenderManage, &m_Core.m_RenderBank);
        m_Core.m_ThreadManage = new GxThreadManage(nullptr);
        GxTaskBase* root = new GxTaskBase(m_Core.m_TaskManage);
        m_Seq = new StepSeq(root, L"SeqSteps");
        m_Other = new StepSeq(root, L"SeqOther");
        m_Core.m_TaskManage->ChangeSequence(m_Seq, 0, 0);
        m_Core.m_TaskManage->ApplyPendingSequence();
        m_Core.Frame(); // starts the sequence
        m_Seq->m_Elapsed.clear();
        m_Seq->m_Drawn.clear();
    }
    void TearDown() override
    {
        delete m_Core.m_ThreadManage;
        m_Core.m_ThreadManage = nullptr;
        delete m_Core.m_TaskManage;
        m_Core.m_TaskManage = nullptr;
    }

    ManualClock m_Clock;
    GxCore m_Core;
    StepSeq* m_Seq = nullptr;
    StepSeq* m_Other = nullptr;
};

} // namespace

TEST_F(GxCoreLoopTest, StallGivesSixStepsAndOnlyTheLastStepIsDrawnUnlessASwitchEndsTheSteps)
{
    // {switch requested in step, steps run, step drawn}
    for (auto [switchAt, steps, drawn] : {std::tuple{-1, 6, 5}, {1, 2, 1}})
    {
        m_Seq->m_SwitchAt = switchAt;
        m_Seq->m_Next = m_Other;
        m_Seq->m_Elapsed.clear();
        m_Seq->m_Drawn.clear();
        m_Clock.m_Now += 100;
        m_Core.Frame();
        ASSERT_EQ(m_Seq->m_Elapsed.size(), static_cast<size_t>(steps)) << switchAt;
        // The whole elapsed time goes to the first step.
        EXPECT_EQ(m_Seq->m_Elapsed[0], 100000);
        EXPECT_EQ(m_Seq->m_Elapsed.back(), 0);
        EXPECT_EQ(m_Seq->m_Drawn, std::vector<int32_t>{drawn}) << switchAt;
    }
    EXPECT_TRUE(m_Core.m_TaskManage->IsChangeSequencePending());
}

TEST_F(GxCoreLoopTest, FrameRateTitleOnlyInAWindowWithTheDebugSwitch)
{
    ASSERT_TRUE(m_Core.CreateMainWindow());
    SDL_Window* window = m_Core.m_MainWindow->GetSDLWindow();
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    const uint32_t mode = ds.m_ScreenMode;
    // {debug switch, screen mode, title shows the rate}
    for (auto [debug, screen, shown] :
         {std::tuple{true, SCRMODE_WINDOW, true}, {false, SCRMODE_WINDOW, false}, {true, SCRMODE_FULLSCREEN, false}})
    {
        m_Core.m_MainWindow->SetTitle("plain");
        m_Core.m_SystemConfig->m_DebugModeFlag = debug;
        ds.m_ScreenMode = screen;
        // A frame that closes the two-second measurement, then one that does not.
        m_Clock.m_Now += 2000;
        m_Core.Frame();
        const std::string title = SDL_GetWindowTitle(window);
        EXPECT_EQ(title.rfind("GxCoreLoopTest FPS ", 0) == 0, shown) << title;
        m_Core.m_MainWindow->SetTitle("plain");
        m_Clock.m_Now += 20;
        m_Core.Frame();
        EXPECT_EQ(std::string(SDL_GetWindowTitle(window)), "plain");
    }
    ds.m_ScreenMode = mode;
}

TEST_F(GxCoreLoopTest, ATerminateSignalEndsTheLoopWithoutAnotherFrame)
{
    PfSignal::Install();
    std::raise(SIGTERM);
    ASSERT_TRUE(PfSignal::IsQuitRequested());
    m_Core.Run();
    PfSignal::ClearQuitRequest();
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    EXPECT_TRUE(m_Seq->m_Elapsed.empty());
    EXPECT_TRUE(m_Seq->m_Drawn.empty());
}

TEST_F(GxCoreLoopTest, ATerminateSignalDuringAStepEndsTheFrameUndrawn)
{
    PfSignal::Install();
    m_Seq->m_SignalAt = 0;
    m_Clock.m_Now += 100; // a stall: six steps due
    m_Core.Frame();
    PfSignal::ClearQuitRequest();
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    EXPECT_EQ(m_Seq->m_Elapsed.size(), 1u);
    EXPECT_TRUE(m_Seq->m_Drawn.empty());
}
