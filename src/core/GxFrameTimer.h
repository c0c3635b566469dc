#pragma once

#include <cstdint>

class GxTimeSource;

// Paces the main loop to a target number of displayed frames a second and decides how many fixed
// update steps each displayed frame runs, so that game logic advances at its own update rate (60 steps
// a second) whatever the display rate. Times are microseconds of the time source's clock. A target rate or update rate
// of 0 means no pacing and a single step.
class GxFrameTimer
{
public:
    explicit GxFrameTimer(GxTimeSource* source = nullptr);
    ~GxFrameTimer();

    GxFrameTimer(const GxFrameTimer&) = delete;
    GxFrameTimer& operator=(const GxFrameTimer&) = delete;

    void Init();
    // Forgets the last frame's start and the carried time, so that time lost while the window moved
    // or a long load ran is not caught up with a burst of steps.
    void Reset();
    // Waits for this frame's slot, computes the step count and returns the elapsed microseconds.
    int64_t Wait();

    void SetTimeSource(GxTimeSource* source);

    bool m_SkipWait = true;
    int64_t m_Elapsed = 0;
    uint64_t m_LastStart = 0;
    int32_t m_TargetRate = 60;
    int64_t m_Lateness = 0;
    uint64_t m_FrameCount = 0;
    uint64_t m_MeasureStart = 0;
    uint64_t m_MeasureFrames = 0;
    float m_MeasuredRate = 0.0f;
    bool m_FixedStep = true;
    int32_t m_StepCount = 1;
    int32_t m_UpdateRate = 60;
    int32_t m_MaxSteps = 15;
    int64_t m_Accumulator = 0;
    bool m_ResetPending = true;

private:
    uint64_t Now();

    GxTimeSource* m_Source;
};
