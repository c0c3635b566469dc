#pragma once

// The engine as the program runs it, for tests: a GxCore with its offscreen window, the OpenGL device,
// a task manager, and the main loop's passes on a clock that moves only when told. Input is pushed as SDL
// events (m_Input) and reaches the task tree through the core's message pump and window procedure; the
// frames are drawn by the core's render lists and read back from render target 0.
//
//   Start(title, manage)  window, device, core set-up; `manage` becomes the core's task manager (one of
//                         the loop's own when null) and g_Core points at this core until Stop
//   Pass(ms) / Passes(n)  one pass of the main loop: a pending switch, the messages, one frame of ms
//   Pixel(x, y)           a pixel of the last frame as 0xAARRGGBB (read back once per frame)
//   Stop()                the reverse of Start; the caller deletes its device-holding tasks before

#include "support/KvSdlInput.h"

#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxCoreScreenService.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureFactory.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"
#include "platform/PfWindow.h"
#include "task/GxTaskManage.h"

#include <gtest/gtest.h>

#include <cstring>

class KvEngineLoop
{
public:
    // Time moves only when the test says so: each frame's single update step gets exactly that many ms.
    class StepClock : public GxTimeSource
    {
    public:
        uint64_t GetTimeMs() override { return m_Now; }
        void Sleep(uint32_t ms) override { m_Now += ms; }
        uint64_t m_Now = 1000;
    };

    KvEngineLoop() = default;
    KvEngineLoop(const KvEngineLoop&) = delete;
    KvEngineLoop& operator=(const KvEngineLoop&) = delete;
    ~KvEngineLoop() { Stop(); }

    bool Start(const wchar_t* title, GxTaskManage* manage = nullptr)
    {
        GxDisplaySettings& ds = GxDisplaySettings::Get() = GxDisplaySettings();
        ds.m_WindowWidth = ds.m_BackBufferWidth = GxCore::kVirtualWidth;
        ds.m_WindowHeight = ds.m_BackBufferHeight = GxCore::kVirtualHeight;
        ds.m_CursorMode = 1;
        ds.m_LockableBackBuffer = false;
        ds.m_SwapEffect = 2;
        ds.m_VSyncInterval = 0;
        m_Core.m_Title = title;
        m_Core.m_UserConfig = new GxUserConfig();
        m_OwnManage = manage == nullptr;
        m_Core.m_TaskManage = manage ? manage : new GxTaskManage(&m_Core);
        m_Core.m_TaskManage->SetRenderLists(m_Core.m_RenderManage, &m_Core.m_RenderBank);
        m_Core.m_TaskManage->SetScreenService(m_Core.GetScreenService());
        m_Core.m_ThreadManage = new GxThreadManage(nullptr);
        m_SavedCore = g_Core;
        g_Core = &m_Core;
        m_Started = true;
        if (!m_Core.CreateMainWindow())
            return false;
        if (!GxGraphics::Initialize(m_Core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr))
            return false;
        m_Core.m_FrameTimer.SetTimeSource(&m_Clock);
        m_Core.m_FrameTimer.m_TargetRate = 0;
        m_Core.m_FrameTimer.m_FixedStep = false;
        m_Input.SetWindow(m_Core.m_MainWindow->GetSDLWindow());
        // Whatever an earlier window left in SDL's queue is not this test's input.
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        return true;
    }

    void Stop()
    {
        if (!m_Started)
            return;
        m_Started = false;
        if (m_Core.m_TaskManage)
        {
            m_Core.m_TaskManage->ClearSequence();
            m_Core.m_TaskManage->SetScreenService(nullptr);
            m_Core.m_TaskManage->SetRenderLists(nullptr, nullptr);
            if (m_OwnManage)
                delete m_Core.m_TaskManage;
            m_Core.m_TaskManage = nullptr;
        }
        for (GxTaskRenderManage& list : m_Core.m_RenderManage)
            list.Clear();
        m_Core.GetScreenService()->ReleaseCapture();
        GxTextureFactory::GetInstance().Clear();
        delete m_Core.m_ThreadManage;
        m_Core.m_ThreadManage = nullptr;
        delete m_Core.m_UserConfig;
        m_Core.m_UserConfig = nullptr;
        GxGraphics::Finalize();
        if (m_Core.m_MainWindow)
        {
            m_Core.m_MainWindow->Destroy();
            delete m_Core.m_MainWindow;
            m_Core.m_MainWindow = nullptr;
        }
        m_Input.SetWindow(nullptr);
        g_Core = m_SavedCore;
    }

    // One pass of the main loop: a pending switch, the messages, then one frame of ms milliseconds.
    void Pass(uint32_t ms = 16)
    {
        m_Clock.m_Now += ms;
        m_Core.m_TaskManage->ApplyPendingSequence();
        m_Core.PumpMessages();
        m_Core.Frame();
        m_ReadBack = false;
    }
    void Passes(int n, uint32_t ms = 16)
    {
        for (int i = 0; i < n; ++i)
            Pass(ms);
    }

    // The colour of the last frame at (x, y), 0 outside the screen or when it cannot be read back.
    uint32_t Pixel(int x, int y)
    {
        PfGLTexture* target = GxGraphics::IsInitialized() ? GxGraphics::GetDevice()->GetRenderTarget(0) : nullptr;
        if (!target || x < 0 || y < 0 || x >= static_cast<int>(target->GetWidth()) ||
            y >= static_cast<int>(target->GetHeight()))
            return 0;
        if (!m_ReadBack)
        {
            EXPECT_EQ(target->ReadBack(), D3D_OK);
            m_ReadBack = true;
        }
        uint32_t argb;
        std::memcpy(&argb, target->GetData() + static_cast<size_t>(y) * target->GetPitch() + x * 4u, 4);
        return argb;
    }

    GxCore m_Core;
    KvSdlInput m_Input;
    StepClock m_Clock;

private:
    GxCore* m_SavedCore = nullptr;
    bool m_OwnManage = false;
    bool m_Started = false;
    bool m_ReadBack = false;
};
