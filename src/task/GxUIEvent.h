#pragma once

#include <cstdint>

class GxTaskBase;

// UI event codes posted by the widgets.
enum GxUIEventCode : int32_t
{
    GX_UIEVENT_CLICK = 1,
    GX_UIEVENT_MOUSE_ENTER = 7,
    GX_UIEVENT_MOUSE_LEAVE = 8,
    GX_UIEVENT_ENTRY_CHOSEN = 18,
    GX_UIEVENT_VALUE_CHANGED = 19,
};

// One queued widget event, copied as a plain value.
struct GxUIEvent
{
    GxTaskBase* sender = nullptr;
    int32_t code = 0;
    int32_t param = 0;
    int32_t reserved = 0;
    float values[12] = {};

    GxUIEvent() = default;
    GxUIEvent(GxTaskBase* eventSender, int32_t eventCode, int32_t eventParam)
        : sender(eventSender), code(eventCode), param(eventParam)
    {
    }
};
