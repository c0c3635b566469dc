#include "platform/PfClock.h"

#include "platform/PfSignal.h"

#include <cerrno>
#include <ctime>
#include <sched.h>

uint64_t PfClock::GetTimeMs()
{
    return GetTimeUs() / 1000;
}

uint64_t PfClock::GetTimeUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    // The monotonic clock counts from boot; add one second so that a reading is never 0, which the
    // frame timer takes as "not yet set".
    return (static_cast<uint64_t>(ts.tv_sec) + 1) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

void PfClock::SleepMs(uint32_t ms)
{
    if (ms == 0)
    {
        sched_yield();
        return;
    }
    timespec req{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    timespec rem{};
    while (nanosleep(&req, &rem) != 0 && errno == EINTR)
    {
        if (PfSignal::IsQuitRequested())
            return;
        req = rem;
    }
}
