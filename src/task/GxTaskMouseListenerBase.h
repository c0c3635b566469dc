#pragma once

#include <cstdint>

// Mouse notifications carried through the task tree. point is two floats, the pointer position in the
// 1024 x 768 virtual screen; keys is the button and modifier word of the window message; dbl is 1 for a
// double-click and 0 for a plain press. Every operation returns 0 when not taken.
class GxTaskMouseListenerBase
{
public:
    virtual ~GxTaskMouseListenerBase() = default;

    virtual int32_t OnMouseMove(const float* point, uint32_t keys)
    {
        (void)point, (void)keys;
        return 0;
    }
    virtual int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys)
    {
        (void)point, (void)delta, (void)keys;
        return 0;
    }
    virtual int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl)
    {
        (void)point, (void)keys, (void)dbl;
        return 0;
    }
    virtual int32_t OnMouseLeftUp(const float* point, uint32_t keys)
    {
        (void)point, (void)keys;
        return 0;
    }
    virtual int32_t OnMouseRightDown(const float* point, uint32_t keys, int32_t dbl)
    {
        (void)point, (void)keys, (void)dbl;
        return 0;
    }
    virtual int32_t OnMouseRightUp(const float* point, uint32_t keys)
    {
        (void)point, (void)keys;
        return 0;
    }
    virtual int32_t OnMouseMiddleDown(const float* point, uint32_t keys, int32_t dbl)
    {
        (void)point, (void)keys, (void)dbl;
        return 0;
    }
    virtual int32_t OnMouseMiddleUp(const float* point, uint32_t keys)
    {
        (void)point, (void)keys;
        return 0;
    }
};
