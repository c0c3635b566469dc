#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

// The opening screen: built once at start-up under the root task as "SeqOpening", with its screen
// folder, UI folder and background layer, but no screen switches to it and it has no behaviour beyond
// the common screen update (queued UI events, frame count).
class SeqOpening : public GxSeqTransitBase
{
public:
    explicit SeqOpening(GxTaskBase* parent);
    ~SeqOpening() override;

    int32_t Update(int32_t step, int64_t elapsed) override;

    uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    uint32_t m_FrameCount = 0;
};
