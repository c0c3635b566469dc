#include "core/GxTimeSource.h"

#include "platform/PfClock.h"

class GxSystemTimeSource final : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return PfClock::GetTimeMs(); }
    void Sleep(uint32_t ms) override { PfClock::SleepMs(ms); }
};

GxTimeSource& GxTimeSource::System()
{
    static GxSystemTimeSource s_System;
    return s_System;
}
