#pragma once

#include "task/GxTaskScreenService.h"

class GxCore;
class GxTexture;

// What the sequences ask of the core: clearing the screen, the cross-fade's capture of the screen and
// its drawing, the configured transition time, closing the main window (as its close button would) and
// the user dialog's answer. The capture goes into the first global render texture (the one rule
// transitions and thumbnails read); when the game's start-up has not made the global render targets
// (tests, a failed start-up) the first capture makes them and ReleaseCapture gives them back.
class GxCoreScreenService : public GxTaskScreenService
{
public:
    explicit GxCoreScreenService(GxCore* core);
    ~GxCoreScreenService() override;

    void ClearScreen() override;
    void CaptureScreen() override;
    void DrawCapturedScreen(uint32_t argb) override;
    int32_t GetTransitTime() override;
    void RequestClose() override;
    void SetDialogResult(int32_t result) override;

    void ReleaseCapture();
    // The capture picture, null while there is none.
    GxTexture* GetCaptureTexture() const;
    void GetCursorPos(int32_t& x, int32_t& y) override;

private:
    GxCore* m_Core;
    bool m_MadeTargets = false;
};
