#pragma once

#include "task/GxSeqBase.h"

// The invasion screen. Built once at start-up under the root task and registered as "SeqZorInvMain".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorInvMain : public GxSeqBase
{
public:
    explicit SeqZorInvMain(GxTaskBase* parent);
    ~SeqZorInvMain() override;
};
