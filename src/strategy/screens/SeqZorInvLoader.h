#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>

class GxTaskLayer;

// The way into an invasion: a loading picture while the field is set up and the unit animations load,
// one unit ID per update step; on the step of the last one it switches to the invasion screen. The
// field has no map, so no dungeon models are loaded.
class SeqZorInvLoader : public GxSeqTransitBase
{
public:
    explicit SeqZorInvLoader(GxTaskBase* parent);
    ~SeqZorInvLoader() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;

private:
    GxTaskLayer* m_BGLayer = nullptr;
};
