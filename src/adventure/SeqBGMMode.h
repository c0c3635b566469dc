#pragma once

#include "task/GxSeqBase.h"

// The music room. Built once at start-up under the root task and registered as "SeqBGMMode".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqBGMMode : public GxSeqBase
{
public:
    explicit SeqBGMMode(GxTaskBase* parent);
    ~SeqBGMMode() override;
};
