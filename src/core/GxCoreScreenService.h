#pragma once

#include "task/GxTaskScreenService.h"

class GxCore;

// What the sequences ask of the core: the configured transition time and closing the main window
// (as its close button would). Drawing and capture wait for the graphics device.
class GxCoreScreenService : public GxTaskScreenService
{
public:
    explicit GxCoreScreenService(GxCore* core) : m_Core(core) {}

    int32_t GetTransitTime() override;
    void RequestClose() override;
    void GetCursorPos(int32_t& x, int32_t& y) override;

private:
    GxCore* m_Core;
};
