#pragma once

#include "core/GxTimeSource.h"

// The frame clock of a scripted run: the recorded-input player's virtual time, which moves on by one
// update step per main-loop pass and never by waiting. Sleeping returns at once.
class GxScriptTimeSource final : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return GetTimeUs() / 1000; }
    uint64_t GetTimeUs() override;
    void Sleep(uint32_t) override {}
    void SleepUntil(uint64_t) override {}
};
