#pragma once

#include <cstdint>

// Where the frame timer reads the time and how it sleeps. The process uses the system's monotonic
// millisecond clock; tests hand the timer a clock of their own.
class GxTimeSource
{
public:
    virtual ~GxTimeSource() = default;
    // Milliseconds of a monotonic clock; never 0.
    virtual uint64_t GetTimeMs() = 0;
    // Sleeps ms milliseconds; 0 yields once.
    virtual void Sleep(uint32_t ms) = 0;

    // The process-wide monotonic clock.
    static GxTimeSource& System();
};
