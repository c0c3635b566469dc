#pragma once

#include <cstdint>

// Where the frame timer reads the time and how it sleeps. The process uses the system's monotonic
// clock in microseconds with an absolute high-resolution sleep; tests hand the timer a clock of their own.
class GxTimeSource
{
public:
    virtual ~GxTimeSource() = default;
    // Milliseconds of a monotonic clock; never 0.
    virtual uint64_t GetTimeMs() = 0;
    // Sleeps ms milliseconds; 0 yields once.
    virtual void Sleep(uint32_t ms) = 0;
    // Microseconds of the same clock. A clock without finer readings gives its milliseconds x 1000.
    virtual uint64_t GetTimeUs() { return GetTimeMs() * 1000; }
    // Sleeps until shortly before GetTimeUs reaches the deadline (never past it by more than the
    // system's wake-up delay), so the caller reads the clock only for the last moments. A clock without
    // a precise sleep sleeps the whole milliseconds that remain.
    virtual void SleepUntil(uint64_t deadlineUs)
    {
        const uint64_t now = GetTimeUs();
        if (deadlineUs > now)
            Sleep(static_cast<uint32_t>((deadlineUs - now) / 1000));
    }

    // The process-wide monotonic clock.
    static GxTimeSource& System();
};
