#pragma once

#include <cstdint>

// Key notifications carried through the task tree: the virtual-key code and the key-data word of the
// window message. Every operation returns 0 when not taken.
class GxTaskKeyInputListenerBase
{
public:
    virtual ~GxTaskKeyInputListenerBase() = default;

    virtual int32_t OnKeyDown(uint32_t key, uint32_t keyData)
    {
        (void)key, (void)keyData;
        return 0;
    }
    virtual int32_t OnKeyUp(uint32_t key, uint32_t keyData)
    {
        (void)key, (void)keyData;
        return 0;
    }
    // Forwarded by the walks only; nothing in the engine raises them.
    virtual int32_t OnKeyInput2(uint32_t value1, uint32_t value2)
    {
        (void)value1, (void)value2;
        return 0;
    }
    virtual int32_t OnKeyInput3(uint32_t value1, uint32_t value2, uint32_t value3)
    {
        (void)value1, (void)value2, (void)value3;
        return 0;
    }
};
