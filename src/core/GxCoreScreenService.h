#pragma once

#include "task/GxTaskScreenService.h"

#include <memory>

class GxCore;
class GxSurface;
class GxTexture;

// What the sequences ask of the core: clearing the screen, the cross-fade's capture of the screen and
// its drawing, the configured transition time, closing the main window (as its close button would) and
// the user dialog's answer. The capture picture is a render target of the virtual screen's size with a
// depth-stencil surface of its own, made at the first capture and released with ReleaseCapture before
// the device goes.
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
    GxTexture* GetCaptureTexture() const { return m_Capture.get(); }

private:
    bool MakeCapture();

    GxCore* m_Core;
    std::unique_ptr<GxTexture> m_Capture;
    std::unique_ptr<GxSurface> m_CaptureDepth;
};
