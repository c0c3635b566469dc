#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

class GxTaskLayer;

// The strategy (world) map: one button per town that may be attacked now, the flags of the occupied
// towns and the status bar. A town button names the invasion in the save title and starts the town's
// script label; "btn_stopthewar" goes back to the command screen.
class SeqZorStrategy : public GxSeqTransitBase
{
public:
    explicit SeqZorStrategy(GxTaskBase* parent);
    ~SeqZorStrategy() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // Enables the buttons of the towns that are enabled, not occupied and whose required town is.
    void RefreshTownButtons();

private:
    GxTaskLayer* m_BGLayer = nullptr;
};
