#pragma once

#include "task/GxUIEvent.h"

#include <cstdint>

// Receives the UI events queued in a folder, one call per event, each operation named after its code.
// Codes 11, 14, 17, 21 and above 24 have no operation. Every operation returns 0 when not handled.
class GxUIListenerBase
{
public:
    virtual ~GxUIListenerBase() = default;

    virtual int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent2(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent3(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent4(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent5(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent6(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent7(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent8(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent9(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent10(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent12(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent13(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent15(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent16(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent18(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent19(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent20(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent22(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent23(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }
    virtual int32_t OnUIEvent24(GxTaskBase* sender, const GxUIEvent& event)
    {
        (void)sender, (void)event;
        return 0;
    }

    // Calls the operation of event.code; false (no call) when the code has none.
    bool CallUIEvent(const GxUIEvent& event, int32_t& result);
};
