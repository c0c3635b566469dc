#include "core/GxFrameTimer.h"
#include "core/GxTimeSource.h"

#include <gtest/gtest.h>

#include <vector>

// A clock that moves only when told to: by the test between frames, by the timer's sleeps, and by
// m_TickPerRead on every reading (so that the timer's spin comes to an end).
class FakeTimeSource : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override
    {
        uint64_t t = m_Now;
        m_Now += m_TickPerRead;
        return t;
    }
    void Sleep(uint32_t ms) override
    {
        m_Sleeps.push_back(ms);
        m_Now += ms;
    }

    uint64_t m_Now = 1000;
    uint64_t m_TickPerRead = 0;
    std::vector<uint32_t> m_Sleeps;
};

TEST(GxFrameTimer, FirstWaitRunsOneStepWithoutSleeping)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    EXPECT_EQ(timer.Wait(), 0);
    EXPECT_EQ(timer.m_StepCount, 1);
    EXPECT_EQ(timer.m_Accumulator, 0);
    EXPECT_EQ(timer.m_Lateness, 0);
    EXPECT_EQ(clock.m_Sleeps, std::vector<uint32_t>{0});
}

TEST(GxFrameTimer, FortyMillisecondFramesCarryTheRemainderUntilThreeSteps)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.Wait();

    clock.m_Now += 40;
    EXPECT_EQ(timer.Wait(), 40000);
    EXPECT_EQ(timer.m_StepCount, 2);
    EXPECT_EQ(timer.m_Accumulator, 6668);

    clock.m_Now += 40;
    timer.Wait();
    EXPECT_EQ(timer.m_StepCount, 2);
    EXPECT_EQ(timer.m_Accumulator, 6668 * 90 / 100 + 6668);

    clock.m_Now += 40;
    timer.Wait();
    EXPECT_EQ(timer.m_StepCount, 3);
}

TEST(GxFrameTimer, StallGivesFifteenStepsAndBoundsTheCarriedTime)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.Wait();
    clock.m_Now += 5000;
    EXPECT_EQ(timer.Wait(), 5000000);
    EXPECT_EQ(timer.m_StepCount, 15);
    EXPECT_EQ(timer.m_Accumulator, 15 * 16666);
    // The overrun shortens the next slot by 4 ms at most.
    EXPECT_EQ(timer.m_Lateness, 4000);
}

TEST(GxFrameTimer, EarlyFrameSleepsSeventyPercentLessFiveThenSpinsToTheSlotEnd)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.Wait();
    clock.m_Sleeps.clear();
    clock.m_Now += 2;
    clock.m_TickPerRead = 1;
    // 14,666 us remain: 14 ms x 70 % - 5 = 4 ms of sleep, then spinning to 17 ms (the first whole
    // millisecond at or past 16,666 us).
    EXPECT_EQ(timer.Wait(), 17000);
    EXPECT_EQ(clock.m_Sleeps, std::vector<uint32_t>{4});
    EXPECT_EQ(timer.m_StepCount, 1);
    EXPECT_EQ(timer.m_Lateness, 17000 - 16666);
}

TEST(GxFrameTimer, LatenessLengthensTheNextSlotByAtMostFourMilliseconds)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.Wait();
    clock.m_Now += 1;
    clock.m_TickPerRead = 1;
    timer.Wait(); // ends at 17 ms, 334 us late
    // A frame that came back after 1 ms: no sleep, the timer spins through the whole slot.
    clock.m_TickPerRead = 0;
    clock.m_Now += 500;
    timer.Wait();
    EXPECT_EQ(timer.m_Lateness, 4000);
    clock.m_Now += 1;
    clock.m_TickPerRead = 1;
    // Slot is now 16,666 - 4,000 = 12,666 us: the frame ends at the 13th millisecond.
    EXPECT_EQ(timer.Wait(), 13000);
}

TEST(GxFrameTimer, TargetRateTenGivesSixUpdateSteps)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.m_TargetRate = 10;
    timer.Wait();
    clock.m_Now += 100;
    timer.Wait();
    EXPECT_EQ(timer.m_StepCount, 6);
    EXPECT_EQ(timer.m_Accumulator, 100000 - 6 * 16666);
}

TEST(GxFrameTimer, ZeroRatesMeanNoPacingAndOneStep)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.m_TargetRate = 0;
    timer.m_UpdateRate = 0;
    timer.Wait();
    clock.m_Now += 1;
    EXPECT_EQ(timer.Wait(), 1000);
    clock.m_Now += 80;
    EXPECT_EQ(timer.Wait(), 80000);
    EXPECT_EQ(timer.m_StepCount, 1);
    EXPECT_EQ(timer.m_Accumulator, 0);
    for (uint32_t ms : clock.m_Sleeps)
        EXPECT_EQ(ms, 0u);
}

TEST(GxFrameTimer, ResetTakesTheNextCallAsFrameStartWithOneStep)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.Wait();
    clock.m_Now += 40;
    timer.Wait();
    ASSERT_GT(timer.m_Accumulator, 0);

    timer.Reset();
    clock.m_Now += 3000; // the window was dragged for three seconds
    clock.m_TickPerRead = 1;
    EXPECT_EQ(timer.Wait(), 17000);
    EXPECT_EQ(timer.m_StepCount, 1);
    EXPECT_LT(timer.m_Accumulator, 1000);
}

TEST(GxFrameTimer, MeasuresTheRateEveryTwoSeconds)
{
    FakeTimeSource clock;
    GxFrameTimer timer(&clock);
    timer.m_SkipWait = true;
    timer.Wait();
    for (int i = 0; i < 40; ++i)
    {
        clock.m_Now += 50;
        timer.Wait();
    }
    // 40 frames of 50 ms: the measurement closed at 2 s and restarted.
    EXPECT_EQ(timer.m_MeasureFrames, 0u);
    EXPECT_FLOAT_EQ(timer.m_MeasuredRate, 41 * 1000000.0f / 2000000.0f);
    EXPECT_EQ(timer.m_FrameCount, 41u);
}
