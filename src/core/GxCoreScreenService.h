#pragma once

#include "task/GxTaskScreenService.h"

class GxCore;

// What the sequences ask of the core: the configured transition time and closing the main window
// (as its close button would), and the capture of the scene.
class GxCoreScreenService : public GxTaskScreenService
{
public:
    explicit GxCoreScreenService(GxCore* core) : m_Core(core) {}

    void CaptureScreen() override;
    int32_t GetTransitTime() override;
    void RequestClose() override;

private:
    GxCore* m_Core;
};
