#include "core/GxTimeSource.h"

#include "platform/PfClock.h"

class GxSystemTimeSource final : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return PfClock::GetTimeMs(); }
    void Sleep(uint32_t ms) override { PfClock::SleepMs(ms); }
    uint64_t GetTimeUs() override { return PfClock::GetTimeUs(); }
    // Wakes this long before the deadline; the frame timer reads the clock for the rest. Linux wakes a
    // sleeper within a few tens of microseconds (its default timer slack is 50), so the reading costs
    // little, and a wake-up later than this ends the slot a few microseconds late, nothing a frame shows.
    void SleepUntil(uint64_t deadlineUs) override
    {
        if (deadlineUs > kSpinUs)
            PfClock::SleepUntilUs(deadlineUs - kSpinUs);
    }
    static constexpr uint64_t kSpinUs = 50;
};

GxTimeSource& GxTimeSource::System()
{
    static GxSystemTimeSource s_System;
    return s_System;
}
