#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

// The first screen after start-up. Built once under the root task as "SeqBoot"; it hands over to the
// title on its first update step.
class SeqBoot : public GxSeqTransitBase
{
public:
    explicit SeqBoot(GxTaskBase* parent);
    ~SeqBoot() override;

    int32_t Update(int32_t step, int64_t elapsed) override;

    uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    uint32_t m_FrameCount = 0;
};
