#include "platform/PfClock.h"
#include "platform/PfSignal.h"

#include <gtest/gtest.h>

#include <csignal>

TEST(PfSignal, TerminationAndInterruptRaiseTheQuitRequest)
{
    PfSignal::Install();
    for (int sig : {SIGTERM, SIGINT})
    {
        PfSignal::ClearQuitRequest();
        EXPECT_FALSE(PfSignal::IsQuitRequested());
        std::raise(sig);
        EXPECT_TRUE(PfSignal::IsQuitRequested());
    }
    PfSignal::ClearQuitRequest();
}

TEST(PfClock, NeverZeroAndNeverBackwards)
{
    const uint64_t a = PfClock::GetTimeMs();
    PfClock::SleepMs(2);
    const uint64_t b = PfClock::GetTimeMs();
    EXPECT_GT(a, 0u);
    EXPECT_GE(b, a + 2);
}
