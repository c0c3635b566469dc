#pragma once

#include <cstdint>

// The process's monotonic clock in milliseconds and a plain sleep. The clock never goes back and is
// unaffected by changes of the wall-clock time; its epoch is unspecified (it is not 0 at start-up).
class PfClock
{
public:
    static uint64_t GetTimeMs();
    static uint64_t GetTimeUs();
    // Sleeps for ms milliseconds (resumed after signal interruptions until the time is up, unless
    // a quit request arrived meanwhile); 0 just yields the processor.
    static void SleepMs(uint32_t ms);
    // Sleeps until a reading of GetTimeUs would reach the deadline, on the kernel's high-resolution
    // timer (an absolute sleep, so interruptions and scheduling do not add up). Returns at once for a
    // deadline already past, and early when a quit request interrupts the sleep.
    static void SleepUntilUs(uint64_t deadlineUs);
};
