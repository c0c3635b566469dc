#pragma once

// The strategy screens in the running engine, driven as a player drives them: ZorTest's tables, test
// dungeon, core and task tree, run by KvEngineLoop (a GxCore with its offscreen window, the OpenGL device
// on llvmpipe and the main loop on a stepped clock). Input goes in as SDL events and reaches the screens
// through the core's message pump, the window procedure and the manager's walks. Every input call runs
// one pass of the loop after its events, so what they did can be checked at once. Positions are screen
// pixels (the window is the 1024 x 768 virtual screen); x or y past the window is a pointer held outside.
//
//   Passes(n)                  n passes of the loop, one 16 ms update step each
//   Enter(seq, param)          switch to a sequence (param0) and pass until it has started
//   MoveTo(x, y)               the pointer moves: hover, edge scrolling and picking follow it
//   Press(x, y) / Release      a button (left unless given) goes down or up, the pointer moved there first
//   Click(x, y)                press, then release
//   Drag(x0, y0, x1, y1)       press at the first point, move to the second, release there
//   Wheel(notches)             whole notches reach the screens as 120 each; a fraction alone is nothing
//   KeyDown / KeyUp / Tap(k)   a key by SDL keycode (SDLK_z, SDLK_1, SDLK_RIGHT ...)
//   Pixel(x, y)                the last frame's colour at (x, y) as 0xAARRGGBB
//   SetDebugMode(on)           the system configuration's "DebugModeFlag"
//
// A derived fixture builds its screens under m_Root after ZorEngineTest::SetUp and deletes the tasks
// that hold device resources in its TearDown before calling ZorEngineTest::TearDown.

#include "ZorTestSupport.h"

#include "support/KvEngineLoop.h"

#include "appdata/GxSystemConfig.h"
#include "task/GxSeqBase.h"

namespace zortest
{

class ZorEngineTest : public ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        // The device and debug logs go with the error log into the test's folder, not the current one.
        m_SavedLogs[0] = GxLog::GetDeviceLogPath();
        m_SavedLogs[1] = GxLog::GetDebugLogPath();
        GxLog::SetDeviceLogPath(m_Folder.File(L"device.log"));
        GxLog::SetDebugLogPath(m_Folder.File(L"debug.log"));
        ASSERT_TRUE(m_Loop.Start(L"ZorEngineTest", &m_Manage));
        m_Loop.m_Core.m_SystemConfig = new GxSystemConfig();
        GxSeqBase::ResetInputLocks();
        // A window starts inactive until the desktop gives it the focus; camera and picking wait for it.
        // The pointer rests in the middle of the screen, clear of the edges that scroll the map.
        m_Loop.m_Input.Focus();
        m_Loop.m_Input.MouseTo(512, 384);
    }
    void TearDown() override
    {
        GxSeqBase::ResetInputLocks();
        m_Loop.Stop();
        delete m_Loop.m_Core.m_SystemConfig;
        m_Loop.m_Core.m_SystemConfig = nullptr;
        GxLog::SetDeviceLogPath(m_SavedLogs[0]);
        GxLog::SetDebugLogPath(m_SavedLogs[1]);
        ZorTest::TearDown();
    }

    void Passes(int n) { m_Loop.Passes(n); }
    void Enter(GxTaskBase* seq, uint32_t param)
    {
        m_Manage.ChangeSequence(seq, param, 0);
        for (int i = 0; i < 200 && !(m_Manage.GetCurrentSequence() == seq && m_Manage.IsSequenceStarted()); ++i)
            m_Loop.Pass();
    }

    // Virtual so that a fixture on a real X server can move the desktop's pointer instead.
    virtual void MoveTo(int x, int y)
    {
        m_Loop.m_Input.MouseTo(x, y);
        m_Loop.Pass();
    }
    virtual void Press(int x, int y, uint8_t button = SDL_BUTTON_LEFT)
    {
        m_Loop.m_Input.MouseTo(x, y);
        m_Loop.m_Input.Press(x, y, button);
        m_Loop.Pass();
    }
    virtual void Release(int x, int y, uint8_t button = SDL_BUTTON_LEFT)
    {
        m_Loop.m_Input.MouseTo(x, y);
        m_Loop.m_Input.Release(x, y, button);
        m_Loop.Pass();
    }
    void Click(int x, int y, uint8_t button = SDL_BUTTON_LEFT)
    {
        Press(x, y, button);
        Release(x, y, button);
    }
    void Drag(int x0, int y0, int x1, int y1, uint8_t button = SDL_BUTTON_LEFT)
    {
        Press(x0, y0, button);
        MoveTo(x1, y1);
        Release(x1, y1, button);
    }
    void Wheel(float notches)
    {
        m_Loop.m_Input.Wheel(notches);
        m_Loop.Pass();
    }
    void KeyDown(SDL_Keycode key)
    {
        m_Loop.m_Input.Key(key, true);
        m_Loop.Pass();
    }
    void KeyUp(SDL_Keycode key)
    {
        m_Loop.m_Input.Key(key, false);
        m_Loop.Pass();
    }
    void Tap(SDL_Keycode key)
    {
        m_Loop.m_Input.Tap(key);
        m_Loop.Pass();
    }
    uint32_t Pixel(int x, int y) { return m_Loop.Pixel(x, y); }
    void SetDebugMode(bool on) { m_Loop.m_Core.m_SystemConfig->m_DebugModeFlag = on; }

    KvEngineLoop m_Loop;
    std::wstring m_SavedLogs[2];
};

} // namespace zortest
