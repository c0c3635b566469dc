#pragma once

#include "strategy/screens/SeqZorReleaser.h"

#include <cstdint>

// The way out of an invasion: the defence releaser's wait and hand-back under its own name; leaving
// tears the field down, lets the town's enemies recover after a fought battle and stops the music.
class SeqZorInvReleaser : public SeqZorReleaser
{
public:
    explicit SeqZorInvReleaser(GxTaskBase* parent);
    ~SeqZorInvReleaser() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;

private:
    // Parameter 1: a battle was fought (the town's health recovers); 0: the invasion was called off.
    uint32_t m_EnterParam = 0;
};
