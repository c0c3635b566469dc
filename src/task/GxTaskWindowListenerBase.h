#pragma once

#include <cstdint>

// Window notifications carried through the task tree. Every operation returns 0 when not taken.
class GxTaskWindowListenerBase
{
public:
    virtual ~GxTaskWindowListenerBase() = default;

    virtual int32_t OnActivate() { return 0; }
    virtual int32_t OnDeactivate() { return 0; }
    // Non-zero keeps the window open.
    virtual int32_t OnCloseRequest() { return 0; }
    virtual int32_t OnScreenModeChange(int32_t newMode, int32_t oldMode)
    {
        (void)newMode, (void)oldMode;
        return 0;
    }
};
