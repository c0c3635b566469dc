#pragma once

#include "task/GxSeqBase.h"

// The weekly command screen. Built once at start-up under the root task and registered as "SeqZorCommand".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorCommand : public GxSeqBase
{
public:
    explicit SeqZorCommand(GxTaskBase* parent);
    ~SeqZorCommand() override;
};
