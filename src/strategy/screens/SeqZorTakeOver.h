#pragma once

#include "task/GxSeqBase.h"

// The take-over screen between two rounds. Built once at start-up under the root task and registered as
// "SeqZorTakeOver".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorTakeOver : public GxSeqBase
{
public:
    explicit SeqZorTakeOver(GxTaskBase* parent);
    ~SeqZorTakeOver() override;
};
