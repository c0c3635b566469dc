#pragma once

#include <cstdint>

// What the sequences need of the device, the core and the user data, kept behind one small interface so
// that the task tree runs without them (tests, tools) and the core decides how each is done. The core
// hands its implementation to the task manager (GxTaskManage::SetScreenService); without one, these
// defaults apply: nothing is drawn or captured, and the transition time is the configured default.
class GxTaskScreenService
{
public:
    virtual ~GxTaskScreenService() = default;

    // Layer 0 of every sequence: clear colour, depth and stencil of the current target with the
    // configured clear colour, depth 1.0 and stencil 0.
    virtual void ClearScreen() {}
    // Capture the current and the system sequence into the capture texture through render bank 1
    // (draw registration at step 0 with elapsed 0, layers 0 to 9, lists cleared after).
    virtual void CaptureScreen() {}
    // Draw the captured picture over (0, 0, 1024, 768) in the given ARGB colour with blend preset 2.
    virtual void DrawCapturedScreen(uint32_t argb) { (void)argb; }
    // The configured sequence transition time in milliseconds.
    virtual int32_t GetTransitTime() { return 400; }
    // Ask the main window to close, as a WM_CLOSE would.
    virtual void RequestClose() {}
    // The user data's dialog result: 1 yes or ok, 0 no or cancel.
    virtual void SetDialogResult(int32_t result) { (void)result; }
    // The mouse in the 1024 x 768 virtual screen, as the widgets poll it during their update.
    virtual void GetCursorPos(int32_t& x, int32_t& y)
    {
        x = 0;
        y = 0;
    }
};
