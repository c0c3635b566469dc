#pragma once

#include "task/GxSeqBase.h"

// The load screen. Built once at start-up under the root task and registered as "SeqLoad".
// FIXME: the screen's subtree, entry, update and input are not built yet; it is an empty sequence.
class SeqLoad : public GxSeqBase
{
public:
    explicit SeqLoad(GxTaskBase* parent);
    ~SeqLoad() override;
};
