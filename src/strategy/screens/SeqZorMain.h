#pragma once

#include "task/GxSeqBase.h"

// The defence screen. Built once at start-up under the root task and registered as "SeqZorMain".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqZorMain : public GxSeqBase
{
public:
    explicit SeqZorMain(GxTaskBase* parent);
    ~SeqZorMain() override;
};
