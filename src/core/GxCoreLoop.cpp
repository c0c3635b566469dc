#include "core/GxCore.h"

#include "core/GxDebugWindow.h"
#include "core/GxLog.h"
#include "core/GxScriptTimeSource.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxString.h"
#include "core/GxThreadManage.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "media/GxMovie.h"
#include "media/GxSound.h"
#include "platform/GxWindowMessage.h"
#include "platform/PfInputScript.h"
#include "platform/PfProcess.h"
#include "platform/PfSignal.h"
#include "platform/PfWindow.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

// Main-loop passes so far; thins the sound update out to every fourth pass.
static uint32_t s_PassCount = 0;

// Logs what the recorded-input player has to say (bad script lines, files it could not write).
static void LogScriptMessages(PfInputScript* script)
{
    for (const std::string& text : script->TakeMessages())
        GxLog::Error(L"%s\n", GxString::FromUtf8(text).c_str());
}

void GxCore::Run()
{
    // A signal during start-up, or just after it, ends the run before its first pass: not even the first
    // sequence is entered.
    if (PfSignal::IsQuitRequested())
    {
        m_Quit = true;
        return;
    }
    // A scripted run: input comes from the script, and every pass is exactly one update step on the
    // script's virtual clock, with no waiting and no pacing. Movies play by that clock too, driven by
    // the pass rather than by threads of their own.
    PfInputScript* script = PfInputScript::GetActive();
    static GxScriptTimeSource s_ScriptClock;
    if (script)
    {
        m_FrameTimer.SetTimeSource(&s_ScriptClock);
        GxMovie::SetPassClock(&s_ScriptClock);
        LogScriptMessages(script);
    }
    do
    {
        m_TaskManage->ApplyPendingSequence();
        if (script)
        {
            m_FrameTimer.m_TargetRate = 0;
            m_FrameTimer.m_FixedStep = false;
            script->BeginPass(m_MainWindow ? m_MainWindow->GetSDLWindow() : nullptr);
        }
        PumpMessages();
        // A quit ends the loop at once: no frame is waited for and drawn that nobody will see. A scripted
        // run draws the pass of its own quit out, its captures and sound taken as recorded; a signal ends
        // any run here.
        if (m_Quit && (!script || PfSignal::IsQuitRequested()))
            break;
        // Programs started without waiting (the text editor) that the reaper thread cannot watch.
        PfProcess::ReapFinished();
        if ((s_PassCount & 3) == 0)
            GxSound::Update();
        ++s_PassCount;
        GxMovie::UpdateAll();
        Frame();
        // A signal that came during the pass ended its frame undrawn: nothing of it is captured or mixed.
        if (PfSignal::IsQuitRequested())
        {
            m_Quit = true;
            break;
        }
        if (script)
        {
            script->EndPass(GxGraphics::IsInitialized() ? GxGraphics::GetDevice() : nullptr);
            LogScriptMessages(script);
        }
    } while (!m_Quit);
    if (script)
        GxMovie::SetPassClock(nullptr);
}

void GxCore::PumpMessages()
{
    if (m_MainWindow)
    {
        GxWindowMessage message;
        while (!m_Quit && m_MainWindow->PeekMessage(message))
        {
            if (message.message == WM_QUIT)
                m_Quit = true;
            else
                m_MainWindow->DispatchMessage(message);
        }
    }
    // SIGTERM / SIGINT / SIGHUP: the normal shut-down, without asking anyone.
    if (PfSignal::IsQuitRequested())
        m_Quit = true;
}

void GxCore::ClearRenderLayers()
{
    GxTaskRenderManage* bank = &m_RenderManage[m_RenderBank * kRenderLayers];
    for (int layer = 0; layer < kRenderLayers; ++layer)
        bank[layer].Clear();
}

void GxCore::DrawRenderLayers()
{
    GxTaskRenderManage* bank = &m_RenderManage[m_RenderBank * kRenderLayers];
    const bool started = m_TaskManage && m_TaskManage->IsSequenceStarted();
    for (int layer = 0; layer < kRenderLayers; ++layer)
        bank[layer].Draw(layer, started);
}

void GxCore::Frame()
{
    m_FrameTimer.Wait();
    // The desktop pointer is asked afresh in each frame, once at most, by whoever needs it first.
    m_DesktopPointerAsked = false;

    const uint32_t mode = GxDisplaySettings::Get().m_ScreenMode;
    const bool windowed =
        GxGraphics::IsInitialized() ? GxGraphics::GetPresentParameters(mode).Windowed != 0 : mode == SCRMODE_WINDOW;
    if (windowed && m_SystemConfig && m_SystemConfig->m_DebugModeFlag && m_FrameTimer.m_MeasureFrames == 0 &&
        m_MainWindow)
    {
        std::wstring text =
            GxString::Format(L"%s FPS %2.2f/%d", m_Title.c_str(), static_cast<double>(m_FrameTimer.m_MeasuredRate),
                             m_FrameTimer.m_TargetRate);
        if (text.size() > 255)
            text.resize(255);
        m_MainWindow->SetTitle(GxString::ToUtf8(text));
    }

    GxTaskBase* system = m_TaskManage->GetSystemSequence();
    // A signal (during the wait or a step) ends the steps too.
    for (int32_t step = 0; step < m_FrameTimer.m_StepCount && !PfSignal::IsQuitRequested(); ++step)
    {
        ClearRenderLayers();
        m_TaskManage->DeleteDeadTasks(m_TaskManage->GetRootTask());
        m_TaskManage->ClearStepFlags();
        m_ThreadManage->Poll();
        const int64_t elapsed = step == 0 ? m_FrameTimer.m_Elapsed : 0;
        GxTaskBase* current = m_TaskManage->GetCurrentSequence();
        if (!m_TaskManage->IsUpdateSuspended())
        {
            if (current)
            {
                if (!m_TaskManage->IsSequenceStarted())
                    m_TaskManage->WalkUpdatePreStart(current, step, elapsed);
                m_TaskManage->WalkUpdate(current, step, elapsed);
            }
            if (system)
                m_TaskManage->WalkUpdate(system, step, elapsed);
        }
        m_TaskManage->WalkRegisterDraw(m_TaskManage->GetCurrentSequence(), step, elapsed);
        if (system)
            m_TaskManage->WalkRegisterDraw(system, step, elapsed);
        if (m_TaskManage->IsChangeSequencePending() || m_TaskManage->IsFrameStop())
            break;
    }

    // A signal ends the pass: the frame nobody will see is neither drawn nor shown (the shut-down follows).
    if (PfSignal::IsQuitRequested())
    {
        GxGraphics::DropFrame();
        return;
    }
    DrawRenderLayers();
    GxDebugWindow::PaintIfDirty();
    // Drawing may take long on a busy machine: a signal that came meanwhile gives the frame up as well.
    if (PfSignal::IsQuitRequested())
    {
        GxGraphics::DropFrame();
        return;
    }
    // The window's first picture is the first sequence's own: a frame drawn while a sequence is being left
    // before anything was shown (the boot sequence passing straight on to the title) is not presented.
    if (!m_PictureShown && m_TaskManage->IsChangeSequencePending())
    {
        GxGraphics::DiscardFrame();
        return;
    }
    m_PictureShown = true;
    GxGraphics::Present(nullptr, nullptr, m_MainWindow ? m_MainWindow->GetSDLWindow() : nullptr);
}
