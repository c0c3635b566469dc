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

class GxFrameTimerTest : public ::testing::Test
{
protected:
    FakeTimeSource m_Clock;
    GxFrameTimer m_Timer{&m_Clock};
};

TEST_F(GxFrameTimerTest, FirstWaitRunsOneStepAndStallGivesFifteen)
{
    EXPECT_EQ(m_Timer.Wait(), 0);
    EXPECT_EQ(m_Timer.m_StepCount, 1);
    EXPECT_EQ(m_Timer.m_Accumulator, 0);
    EXPECT_EQ(m_Timer.m_Lateness, 0);
    EXPECT_EQ(m_Clock.m_Sleeps, std::vector<uint32_t>{0});
    // A stall gives fifteen steps and bounds the carried time.
    m_Clock.m_Now += 5000;
    EXPECT_EQ(m_Timer.Wait(), 5000000);
    EXPECT_EQ(m_Timer.m_StepCount, 15);
    EXPECT_EQ(m_Timer.m_Accumulator, 15 * 16666);
    // The overrun shortens the next slot by 4 ms at most.
    EXPECT_EQ(m_Timer.m_Lateness, 4000);
}

TEST_F(GxFrameTimerTest, FortyMillisecondFramesCarryTheRemainderUntilResetTakesANewStart)
{
    m_Timer.Wait();

    m_Clock.m_Now += 40;
    EXPECT_EQ(m_Timer.Wait(), 40000);
    EXPECT_EQ(m_Timer.m_StepCount, 2);
    EXPECT_EQ(m_Timer.m_Accumulator, 6668);

    m_Clock.m_Now += 40;
    m_Timer.Wait();
    EXPECT_EQ(m_Timer.m_StepCount, 2);
    EXPECT_EQ(m_Timer.m_Accumulator, 6668 * 90 / 100 + 6668);

    m_Clock.m_Now += 40;
    m_Timer.Wait();
    EXPECT_EQ(m_Timer.m_StepCount, 3);
    ASSERT_GT(m_Timer.m_Accumulator, 0);
    // A reset takes the next call as a frame start with one step.

    m_Timer.Reset();
    m_Clock.m_Now += 3000; // the window was dragged for three seconds
    m_Clock.m_TickPerRead = 1;
    EXPECT_EQ(m_Timer.Wait(), 17000);
    EXPECT_EQ(m_Timer.m_StepCount, 1);
    EXPECT_LT(m_Timer.m_Accumulator, 1000);
}

TEST_F(GxFrameTimerTest, EarlyFrameSleepsToTheSlotEndThenReadsTheClockUntilItIsReached)
{
    m_Timer.Wait();
    m_Clock.m_Sleeps.clear();
    m_Clock.m_Now += 2;
    m_Clock.m_TickPerRead = 1;
    // Every reading moves this clock 1 ms: 13,666 us remain when the sleep starts, of which it sleeps the 13
    // whole milliseconds, and one more reading gives 17 ms (the first whole millisecond past 16,666 us).
    EXPECT_EQ(m_Timer.Wait(), 17000);
    EXPECT_EQ(m_Clock.m_Sleeps, std::vector<uint32_t>{13});
    EXPECT_EQ(m_Timer.m_StepCount, 1);
    EXPECT_EQ(m_Timer.m_Lateness, 17000 - 16666);
}

TEST_F(GxFrameTimerTest, LatenessLengthensTheNextSlotByAtMostFourMilliseconds)
{
    m_Timer.Wait();
    m_Clock.m_Now += 1;
    m_Clock.m_TickPerRead = 1;
    m_Timer.Wait(); // ends at 17 ms, 334 us late
    // A frame that came back after 1 ms: no sleep, the timer spins through the whole slot.
    m_Clock.m_TickPerRead = 0;
    m_Clock.m_Now += 500;
    m_Timer.Wait();
    EXPECT_EQ(m_Timer.m_Lateness, 4000);
    m_Clock.m_Now += 1;
    m_Clock.m_TickPerRead = 1;
    // Slot is now 16,666 - 4,000 = 12,666 us: the frame ends at the 13th millisecond.
    EXPECT_EQ(m_Timer.Wait(), 13000);
}

TEST_F(GxFrameTimerTest, TargetRateTenGivesSixUpdateStepsAndZeroRatesNoPacing)
{
    m_Timer.m_TargetRate = 10;
    m_Timer.Wait();
    m_Clock.m_Now += 100;
    m_Timer.Wait();
    EXPECT_EQ(m_Timer.m_StepCount, 6);
    EXPECT_EQ(m_Timer.m_Accumulator, 100000 - 6 * 16666);

    // Zero rates: no pacing and one step.
    m_Clock.m_Sleeps.clear();
    m_Timer.m_TargetRate = 0;
    m_Timer.m_UpdateRate = 0;
    m_Timer.Reset();
    m_Timer.Wait();
    m_Clock.m_Now += 1;
    EXPECT_EQ(m_Timer.Wait(), 1000);
    m_Clock.m_Now += 80;
    EXPECT_EQ(m_Timer.Wait(), 80000);
    EXPECT_EQ(m_Timer.m_StepCount, 1);
    EXPECT_EQ(m_Timer.m_Accumulator, 0);
    for (uint32_t ms : m_Clock.m_Sleeps)
        EXPECT_EQ(ms, 0u);
}

TEST_F(GxFrameTimerTest, MeasuresTheRateEveryTwoSeconds)
{
    m_Timer.m_SkipWait = true;
    m_Timer.Wait();
    for (int i = 0; i < 40; ++i)
    {
        m_Clock.m_Now += 50;
        m_Timer.Wait();
    }
    // 40 frames of 50 ms: the measurement closed at 2 s and restarted.
    EXPECT_EQ(m_Timer.m_MeasureFrames, 0u);
    EXPECT_FLOAT_EQ(m_Timer.m_MeasuredRate, 41 * 1000000.0f / 2000000.0f);
    EXPECT_EQ(m_Timer.m_FrameCount, 41u);
}
