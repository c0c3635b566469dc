#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

class GxTaskLayer;

// The way into a defence stage: shows the loading picture, begins the stage (unless a save is being
// restored), loads the dungeon's room models one set per step and then the unit animations one unit per
// step, and switches to the defence screen on the step in which the unit pool completes.
//
// Entered with 0 from the script and with 2 from the load paths; enters "SeqZorMain" with 1 or 2.
class SeqZorLoader : public GxSeqTransitBase
{
public:
    static constexpr int32_t kParamRestore = 2;

    explicit SeqZorLoader(GxTaskBase* parent);
    ~SeqZorLoader() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;

    // One loading step (pools, then the switch request); true when the switch was requested.
    bool StepLoading();
    // Starts the stage's music when it differs from the recorded one; the path used, empty when none.
    static std::wstring StartDefenceBGM();

private:
    GxTaskLayer* m_BGLayer = nullptr;
    uint32_t m_EnterParam = 0;
};
