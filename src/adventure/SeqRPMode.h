#pragma once

#include "task/GxSeqBase.h"

// The replay mode. Built once at start-up under the root task and registered as "SeqRPMode".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqRPMode : public GxSeqBase
{
public:
    explicit SeqRPMode(GxTaskBase* parent);
    ~SeqRPMode() override;
};
