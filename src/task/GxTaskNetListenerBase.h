#pragma once

#include <cstdint>

// Network notifications: defined and forwarded by the walks, raised by nothing in the engine.
class GxTaskNetListenerBase
{
public:
    virtual ~GxTaskNetListenerBase() = default;

    virtual int32_t OnNet0(uint32_t value)
    {
        (void)value;
        return 0;
    }
    virtual int32_t OnNet1(uint32_t value)
    {
        (void)value;
        return 0;
    }
    virtual int32_t OnNet2(uint32_t value1, uint32_t value2)
    {
        (void)value1, (void)value2;
        return 0;
    }
    virtual int32_t OnNet3(uint32_t value1, uint32_t value2)
    {
        (void)value1, (void)value2;
        return 0;
    }
    virtual int32_t OnNet4(uint32_t value1, uint32_t value2)
    {
        (void)value1, (void)value2;
        return 0;
    }
};
