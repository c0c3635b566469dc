#pragma once

#include "task/GxSeqBase.h"

// The message backlog. Built once at start-up under the root task and registered as "SeqAvgLog".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqAvgLog : public GxSeqBase
{
public:
    explicit SeqAvgLog(GxTaskBase* parent);
    ~SeqAvgLog() override;
};
