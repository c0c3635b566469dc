#include "platform/PfClock.h"

#include "platform/PfSignal.h"

#include <cerrno>
#include <ctime>
#include <sched.h>

uint64_t PfClock::GetTimeMs()
{
    return GetTimeUs() / 1000;
}

// GetTimeUs counts from one second before the monotonic clock's zero.
static constexpr uint64_t kEpochOffsetUs = 1000000u;

uint64_t PfClock::GetTimeUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    // The monotonic clock counts from boot; add one second so that a reading is never 0, which the
    // frame timer takes as "not yet set".
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + kEpochOffsetUs + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
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

void PfClock::SleepUntilUs(uint64_t deadlineUs)
{
    if (deadlineUs <= kEpochOffsetUs)
        return;
    const uint64_t us = deadlineUs - kEpochOffsetUs;
    const timespec at{static_cast<time_t>(us / 1000000u), static_cast<long>(us % 1000000u) * 1000L};
    // clock_nanosleep returns the error number itself rather than setting errno.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR)
    {
        if (PfSignal::IsQuitRequested())
            return;
    }
}
