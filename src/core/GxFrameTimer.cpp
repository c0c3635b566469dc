#include "core/GxFrameTimer.h"

#include "core/GxTimeSource.h"
#include "platform/PfSignal.h"

#include <algorithm>

// A late frame shortens the next slot and an early one lengthens it, by at most this much.
static constexpr int64_t kMaxLateness = 4000;
// The measured frame rate is recomputed every two seconds.
static constexpr uint64_t kMeasurePeriod = 2000000;

GxFrameTimer::GxFrameTimer(GxTimeSource* source) : m_Source(source ? source : &GxTimeSource::System())
{
    Init();
}

GxFrameTimer::~GxFrameTimer() = default;

void GxFrameTimer::SetTimeSource(GxTimeSource* source)
{
    m_Source = source ? source : &GxTimeSource::System();
}

void GxFrameTimer::Init()
{
    m_SkipWait = true;
    m_ResetPending = true;
    Reset();
}

void GxFrameTimer::Reset()
{
    m_Elapsed = 0;
    m_LastStart = 0;
    m_Lateness = 0;
    m_StepCount = 1;
    m_Accumulator = 0;
}

uint64_t GxFrameTimer::Now()
{
    return m_Source->GetTimeUs();
}

int64_t GxFrameTimer::Wait()
{
    uint64_t now = Now();
    const bool paced = m_TargetRate > 0;
    const int64_t slot = paced ? 1000000 / m_TargetRate - m_Lateness : 0;

    if (m_LastStart == 0)
        m_LastStart = now;
    if (m_MeasureStart == 0)
    {
        m_MeasuredRate = 0.0f;
        m_MeasureStart = now;
        m_MeasureFrames = 0;
    }

    if (m_SkipWait || !paced || static_cast<int64_t>(now - m_LastStart) >= slot)
    {
        m_Source->Sleep(0);
    }
    else
    {
        // The slot's end is slept to precisely and only its last moments are read off the clock. (A sleep
        // of 70 % of the remaining milliseconds less 5 ms followed by a spin suits a coarse system sleep;
        // here it would keep a core busy for most of every frame.)
        m_Source->SleepUntil(m_LastStart + static_cast<uint64_t>(slot));
        // A quit request wakes the sleep early: the rest of the slot is not read off the clock.
        for (now = Now(); static_cast<int64_t>(now - m_LastStart) < slot && !PfSignal::IsQuitRequested(); now = Now())
        {
        }
    }
    m_Elapsed = static_cast<int64_t>(now - m_LastStart);

    if (!m_FixedStep || m_ResetPending || m_UpdateRate <= 0)
    {
        m_StepCount = 1;
        m_Accumulator = 0;
    }
    else
    {
        const int64_t period = 1000000 / m_UpdateRate;
        int64_t steps = (m_Elapsed + m_Accumulator) / period;
        steps = std::min<int64_t>(steps, m_MaxSteps);
        if (steps < 2)
            steps = 1;
        m_StepCount = static_cast<int32_t>(steps);
        m_Accumulator = m_Accumulator * 90 / 100;
        m_Accumulator += m_Elapsed - steps * period;
        m_Accumulator = std::min<int64_t>(m_Accumulator, m_MaxSteps * period);
    }

    if (m_ResetPending || !paced)
        m_Lateness = 0;
    else
        m_Lateness = std::clamp<int64_t>(m_Elapsed - slot, -kMaxLateness, kMaxLateness);

    ++m_FrameCount;
    m_LastStart = now;
    m_SkipWait = false;
    ++m_MeasureFrames;
    m_ResetPending = false;

    if (now - m_MeasureStart >= kMeasurePeriod)
    {
        m_MeasuredRate = static_cast<float>(static_cast<double>(m_MeasureFrames) * 1000000.0 /
                                            static_cast<double>(now - m_MeasureStart));
        m_MeasureStart = now;
        m_MeasureFrames = 0;
    }
    return m_Elapsed;
}
