#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

// Loads the quick save and resumes the sequence it recorded. It waits until its 32nd update step after
// entry (the screen before it has faded out by then), then loads once. A quick save that is missing or
// cannot be read is refused: the running game is untouched, the player is told, and OK returns to the
// screen the player came from.
class SeqQuickLoad : public GxSeqTransitBase
{
public:
    // The load runs on the update step whose frame counter first exceeds this.
    static constexpr uint32_t kWaitSteps = 30;

    explicit SeqQuickLoad(GxTaskBase* parent);
    ~SeqQuickLoad() override;

    void OnSequenceEnter() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // Reads the quick-save pair (the adventure file named by the system configuration and
    // "zordata_quick.gd"); false, with nothing changed, when either is missing or refused.
    bool LoadQuickData();

    uint32_t GetFrameCount() const { return m_FrameCount; }
    bool HasLoaded() const { return m_Done; }

private:
    void ReturnToPrevious();

    uint32_t m_FrameCount = 0;
    bool m_Done = false;
};
