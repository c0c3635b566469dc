#pragma once

#include "task/GxSeqBase.h"

// The strategy map. Built once at start-up under the root task and registered as "SeqZorStrategy".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorStrategy : public GxSeqBase
{
public:
    explicit SeqZorStrategy(GxTaskBase* parent);
    ~SeqZorStrategy() override;
};
